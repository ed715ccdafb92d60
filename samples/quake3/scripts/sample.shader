// Effects of the sample game: a blended window, an animated pool and the sky.

textures/sample/glass
{
	qer_editorimage textures/sample/glass.tga
	qer_trans 0.5
	surfaceparm trans
	surfaceparm nonsolid
	cull none
	{
		map textures/sample/glass.tga
		blendFunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA
		rgbGen identity
	}
}

textures/sample/slime
{
	qer_editorimage textures/sample/slime1.jpg
	surfaceparm nonsolid
	surfaceparm slime
	{
		animMap 2 textures/sample/slime1.jpg textures/sample/slime2.jpg
		tcMod scroll 0.1 0.05
	}
	{
		map $lightmap
		blendFunc GL_DST_COLOR GL_ZERO
	}
}

textures/sample/sky
{
	qer_editorimage textures/sample/sky.jpg
	surfaceparm sky
	surfaceparm noimpact
	surfaceparm nolightmap
	skyparms - 512 -
	{
		map textures/sample/sky.jpg
		tcMod scroll 0.02 0.01
	}
}

textures/common/caulk
{
	qer_editorimage textures/common/caulk.tga
	surfaceparm nodraw
	surfaceparm nomarks
}

textures/common/trigger
{
	qer_editorimage textures/common/trigger.tga
	qer_trans 0.5
	surfaceparm nodraw
	surfaceparm nonsolid
	surfaceparm trans
}
