#include "dialogs/editing/FacePropertiesDialog.h"

namespace {

template <size_t N> void setName(std::array<QByteArray, N>& names, const char* flag, int32_t bit) {
    if (bit < 0 || bit >= static_cast<int32_t>(N)) return;
    names[static_cast<size_t>(bit)] = flag ? QByteArray(flag) : QByteArray();
}

} // namespace

void cFacePropertiesDialog::setSurfaceFlagName(const char* profile, const char* flag, int32_t bit) {
    if (!profile || bit < 0 || bit >= kSurfaceFlagCount) return;
    setName(m_flagNames[QByteArray(profile)].surface, flag, bit);
}

void cFacePropertiesDialog::setContentFlagName(const char* profile, const char* flag, int32_t bit) {
    if (!profile || bit < 0 || bit >= kContentFlagCount) return;
    setName(m_flagNames[QByteArray(profile)].content, flag, bit);
}

const cFacePropertiesDialog::FlagNames* cFacePropertiesDialog::flagNames(const QByteArray& profile) const {
    auto found = m_flagNames.constFind(profile);
    return found != m_flagNames.constEnd() ? &found.value() : nullptr;
}

bool cFacePropertiesDialog::handleModeKey(const QKeyEvent* event) {
    if (!shown || event->modifiers() != Qt::ShiftModifier) return false;
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F6) {
        applicationMode = key - Qt::Key_F1;
    } else if (key == Qt::Key_F9) {
        applicationMode = 6;
    } else if (key == Qt::Key_F7 || key == Qt::Key_F8) {
        if (nullModesAvailable) applicationMode = key == Qt::Key_F7 ? 7 : 8;
    } else {
        return false;
    }
    return true;
}
