textures/base/full
{
	qer_editorimage textures/base/full.tga
	qer_trans 0.5
	qer_nocarve
	surfaceparm nodraw
	surfaceparm water
	cull none
	sort additive
	deformVertexes wave 100 sin 0 1 0 1
	deformVertexes move 0 0 1 square 0 1 0 1
	deformVertexes bulge 1 2 3
	deformVertexes text0
	fogparms ( 1 0 0 ) 100
	skyparms env/space 0 -
	tessSize 64
	q3map_surfacelight 100
	{
		map $lightmap
		rgbGen identity
	}
	{
		animMap 2 a.tga b.tga c.tga
		blendFunc GL_DST_COLOR GL_ZERO
		rgbGen wave triangle 0 1 0 2
		alphaGen const 0.5
		tcGen vector ( 1 0 0 ) ( 0 1 0 )
		tcMod turb 0 0.1 0 1
		tcMod scroll 1 1
		tcMod transform 1 0 0 1 0 0
		tcMod stretch sin 1 1 0 1
		tcMod rotate 30
		alphaFunc GE128
		depthFunc equal
		depthWrite
	}
}
