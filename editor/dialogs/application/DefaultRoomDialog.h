// Parameters of the default room that a new map may start with.
#pragma once

#include <QString>
#include <cstdint>

struct DefaultRoomParameters {
    int32_t width = 0;
    int32_t length = 0;
    int32_t height = 0;
    int32_t profileFlags = 0;
    QString wallTexture;
    QString ceilingTexture;
    QString floorTexture;
    QString nullTexture; // empty when off
    QString playerStartClass;
    QString lightClass;
};
