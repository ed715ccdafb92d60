textures/a
{
	{
		map "a}b.tga"
	}
}
"textures/q q"
{
}
stray