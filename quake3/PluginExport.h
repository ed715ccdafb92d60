// Exports of the plugin: plain C names, the only symbols the module makes visible.
#pragma once

#define KP_EXPORT extern "C" __attribute__((visibility("default")))
