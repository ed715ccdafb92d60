// World-wide refresh passes that the texture manager, the preferences and the load code run over
// every object after textures, settings or game data changed.
#pragma once

struct EntityRecord;
struct MapWorld;

// Faces whose texture was reloaded get their blended bit, bounds, shade, alignment word, texture
// coordinates (or mapping, with UV lock) and GL primitive again; their update bit is cleared.
void Map_RefreshTexturedFaces(MapWorld* world);
// Blended bit of every face, patch and overlay from TextureTransparency and its texture.
void Map_UpdateTextureTransparency(MapWorld* world);
// Blended bit of one entity: set when transparency is on and its blend-state word draws in the
// blended pass (any bit of 0x700ff), else cleared.
void Map_UpdateEntityBlend(EntityRecord* entity, bool transparency);
// The entity blended bit of every entity of the world from EntityTransparency.
void Map_UpdateEntityTransparency(MapWorld* world);
// New random display colours for every group and brush (faces take their brush's colour).
void Map_RefreshObjectColours(MapWorld* world);
// Shifts every face's texture coordinates by whole repeats so each range is centred on zero.
void Map_RecenterFaceUVs(MapWorld* world);
// Looks every entity's class up again after the game data changed and re-applies it.
void Map_RebindEntityClasses(MapWorld* world);
// Sky, sky axis and rotation of the world from its world entity (the first entity flagged as
// the world); all zero when there is none.
void Map_UpdateSky(MapWorld* world);
