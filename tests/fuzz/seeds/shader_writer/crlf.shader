// five
textures/w/d
{
	cull none // }
}

/* x { */
textures/fz/e   {
	{ map "$lightmap" }
}
// end