}
textures/a/one
{
	{
		map $whiteimage
	}
}
textures/a/two
{
	surfaceparm nodraw
	bogus command here
textures/a/three
{
	{
		map $whiteimage
		rgbGen vertex
textures/a/four
{
}
noblock_name
textures/a/one
{
	qer_trans 0.5
}
models/x/lamp
{
}
{
	stray block
}
