// The face-properties dialog. For now it keeps what plugins register for it: per map profile the
// names of the 20 surface-flag and 32 content-flag check boxes. The dialog itself comes later.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QKeyEvent>
#include <array>
#include <cstdint>

class cFacePropertiesDialog {
public:
    static constexpr int32_t kSurfaceFlagCount = 20;
    static constexpr int32_t kContentFlagCount = 32;

    struct FlagNames {
        std::array<QByteArray, kSurfaceFlagCount> surface;
        std::array<QByteArray, kContentFlagCount> content;
    };

    // A bit outside 0..19 (0..31 for content) is ignored; a null flag name clears the bit's
    // name. The profile's table is made on first use.
    void setSurfaceFlagName(const char* profile, const char* flag, int32_t bit);
    void setContentFlagName(const char* profile, const char* flag, int32_t bit);
    // The profile's names; null when nothing was registered for it.
    const FlagNames* flagNames(const QByteArray& profile) const;

    // While the dialog is shown, Shift+F1..F9 choose the texture-application mode (F1-F6 modes
    // 0-5, F9 mode 6, F7/F8 modes 7/8 when the NULL modes are available); true when the key was
    // one of the nine.
    bool handleModeKey(const QKeyEvent* event);

    // Whether the dialog's window is up (it has none yet).
    bool shown = false;
    bool nullModesAvailable = false;
    int32_t applicationMode = 0;

private:
    QHash<QByteArray, FlagNames> m_flagNames;
};
