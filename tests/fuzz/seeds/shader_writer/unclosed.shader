textures/open
{
	{
		map x
