// Every dialog shows all of its controls at the size it opens with, at the normal font and at 125 %:
// no control sticks out of the dialog or out of the box that holds it, and no button or label is
// squeezed below the size its text needs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <functional>

#include "SampleWindowFixture.h"
#include "dialogs/application/AboutDialog.h"
#include "dialogs/application/AdvertisementDialog.h"
#include "dialogs/application/ArchDialog.h"
#include "dialogs/application/CheckOptionsDialog.h"
#include "dialogs/application/DefaultRoomDialog.h"
#include "dialogs/application/EditGameCfgDialog.h"
#include "dialogs/application/EditRunCfgDialog.h"
#include "dialogs/application/GotoBrushDialog.h"
#include "dialogs/application/GotoCoordsDialog.h"
#include "dialogs/application/MessageDialog.h"
#include "dialogs/application/NewPatchDialog.h"
#include "dialogs/application/PasteSpecialDialog.h"
#include "dialogs/application/PathDialog.h"
#include "dialogs/application/PathNodeDialog.h"
#include "dialogs/application/PreferencesDialog.h"
#include "dialogs/application/RandomPatchDialog.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "dialogs/application/ScaleVertexDialog.h"
#include "dialogs/application/SelectGameCfgDialog.h"
#include "dialogs/application/TransformDialog.h"
#include "dialogs/application/UpdateCheckDialog.h"
#include "dialogs/application/WaitDialog.h"
#include "dialogs/editing/EditGroupsDialog.h"
#include "dialogs/editing/EntityHelpDialog.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/EntityReportDialog.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "dialogs/editing/MapCheckDialog.h"
#include "dialogs/editing/MapInfoDialog.h"
#include "dialogs/editing/NewKeyvalueDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "dialogs/editing/TextureFitDialog.h"
#include "dialogs/editing/TextureReplaceDialog.h"
#include "document/MapWorld.h"
#include "gamedata/MapProfile.h"

namespace {

class DialogFitTest : public cSampleWindowFixture {};

// What the dialogs are made for: the program's window and its open map.
struct Context {
    cMainWindow* window;
    MapDocument* document;
};

struct DialogCase {
    const char* name;
    std::function<QDialog*(const Context&)> make;
};

// The controls a user reads or clicks.
bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractSlider*>(w);
}

QString describe(const QWidget* w) {
    QString text;
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text().left(30);
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QLatin1String(w->metaObject()->className()), text, w->objectName());
}

// The room the text of a button or a one-line label takes, with the check box's or radio button's
// indicator; nothing for other controls.
QSize textNeed(const QWidget* w) {
    QString text;
    int extra = 0;
    const QStyle* style = w->style();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        text = button->text();
        if (!button->icon().isNull() && !text.isEmpty()) extra += button->iconSize().width() + 4;
        if (qobject_cast<const QCheckBox*>(w))
            extra += style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        else if (qobject_cast<const QRadioButton*>(w))
            extra += style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) +
                     style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
        else
            extra += 4; // the frame
    } else if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap() || !label->pixmap().isNull() || Qt::mightBeRichText(label->text())) return {};
        text = label->text();
        extra = 2 * label->frameWidth() + 2 * qMax(label->margin(), 0);
    }
    if (text.isEmpty()) return {};
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    const QFontMetrics metrics = w->fontMetrics();
    return {metrics.horizontalAdvance(text) + extra, metrics.height()};
}

// The faults of the page shown now: controls outside the dialog or a box holding them, and buttons
// and one-line labels narrower than their text.
QStringList misplaced(QDialog* dialog) {
    QStringList faults;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible() || !isControl(w) || w->isWindow() || w->window() != dialog) continue;
        // Inside every ancestor up to the dialog (a scroll area's viewport clips on purpose).
        bool scrolled = false;
        for (QWidget* up = w->parentWidget(); up && up != dialog; up = up->parentWidget())
            if (up->inherits("QAbstractScrollArea") ||
                up->objectName() == QLatin1String("qt_scrollarea_viewport"))
                scrolled = true;
        if (scrolled || qobject_cast<QComboBox*>(w->parentWidget())) continue;
        QRect rect(QPoint(), w->size());
        for (QWidget* at = w; at != dialog; at = at->parentWidget()) {
            rect.translate(at->pos());
            if (!QRect(QPoint(), at->parentWidget()->size()).contains(rect)) {
                faults << describe(w) + QStringLiteral(" sticks out of %1 (%2,%3 %4x%5 in %6x%7)")
                                            .arg(QLatin1String(at->parentWidget()->metaObject()->className()))
                                            .arg(rect.x())
                                            .arg(rect.y())
                                            .arg(rect.width())
                                            .arg(rect.height())
                                            .arg(at->parentWidget()->width())
                                            .arg(at->parentWidget()->height());
                break;
            }
        }
        const QSize need = textNeed(w);
        if (w->width() < need.width() || w->height() < need.height())
            faults << describe(w) + QStringLiteral(" is %1x%2, its text needs %3x%4")
                                        .arg(w->width())
                                        .arg(w->height())
                                        .arg(need.width())
                                        .arg(need.height());
    }
    return faults;
}

// Every page of every tab and stack in turn, the stacks around a nested one turned to the page
// that holds it.
QStringList everyPage(QDialog* dialog) {
    QStringList faults = misplaced(dialog);
    for (QStackedWidget* stack : dialog->findChildren<QStackedWidget*>()) {
        for (QWidget* at = stack; at != dialog; at = at->parentWidget())
            if (auto* outer = qobject_cast<QStackedWidget*>(at->parentWidget())) outer->setCurrentWidget(at);
        for (int i = 0; i < stack->count(); ++i) {
            stack->setCurrentIndex(i);
            QApplication::processEvents();
            for (const QString& fault : misplaced(dialog))
                if (!faults.contains(fault)) faults << fault;
        }
        stack->setCurrentIndex(0);
    }
    return faults;
}

const float kMins[3] = {-64, -64, 0};
const float kMaxs[3] = {64, 64, 128};

const DialogCase kDialogs[] = {
    {"About", [](const Context&) -> QDialog* { return new cAboutDialog(); }},
    {"Arch", [](const Context&) -> QDialog* { return new cArchDialog(); }},
    {"CheckOptions",
     [](const Context&) -> QDialog* {
         return new cCheckOptionsDialog(QStringLiteral("Options"), QStringLiteral("Choose what to keep"),
                                        {QStringLiteral("First choice"), QStringLiteral("Second choice")}, 1);
     }},
    {"DefaultRoom",
     [](const Context&) -> QDialog* { return new cDefaultRoomDialog(GameCfg_CurrentProfile()); }},
    {"EditGameCfg",
     [](const Context& t) -> QDialog* { return new cEditGameCfgDialog(&t.window->gameConfigs, t.window); }},
    {"EditRunCfg",
     [](const Context& t) -> QDialog* {
         static RunConfigList configs; // the dialog edits the list it is given and outlives this call
         return new cEditRunCfgDialog(0, configs, t.window);
     }},
    {"GotoBrush", [](const Context&) -> QDialog* { return new cGotoBrushDialog(); }},
    {"GotoCoords", [](const Context&) -> QDialog* { return new cGotoCoordsDialog(); }},
    {"Message",
     [](const Context& t) -> QDialog* {
         return new cMessageDialog(QStringLiteral("Commands"), QStringLiteral("<p>Text</p>"), t.window);
     }},
    {"NewPatch", [](const Context&) -> QDialog* { return new cNewPatchDialog(); }},
    {"PasteSpecial",
     [](const Context& t) -> QDialog* { return new cPasteSpecialDialog(t.window, kMins, kMaxs); }},
    {"Path", [](const Context& t) -> QDialog* { return new cPathDialog(t.document, t.window); }},
    {"PathNode", [](const Context& t) -> QDialog* { return new cPathNodeDialog(t.document, t.window); }},
    {"Preferences", [](const Context& t) -> QDialog* { return new cPreferencesDialog(0, t.window); }},
    {"RandomPatch", [](const Context&) -> QDialog* { return new cRandomPatchDialog(); }},
    {"RunMap", [](const Context& t) -> QDialog* { return new cRunMapDialog(t.window); }},
    {"RunMapOutput", [](const Context& t) -> QDialog* { return new cRunMapOutput(t.window); }},
    {"ScaleVertex",
     [](const Context& t) -> QDialog* { return new cScaleVertexDialog([] { return nullptr; }, t.window); }},
    {"SelectGameCfg", [](const Context&) -> QDialog* { return new cSelectGameCfgDialog(); }},
    {"Transform", [](const Context&) -> QDialog* { return new cTransformDialog(); }},
    {"UpdateCheck",
     [](const Context& t) -> QDialog* {
         return new cUpdateCheckDialog(false, QStringLiteral("1.1.100"), t.window);
     }},
    {"Wait", [](const Context&) -> QDialog* { return new cWaitDialog(QStringLiteral("Loading")); }},
    {"EditGroups",
     [](const Context& t) -> QDialog* { return new cEditGroupsDialog(0, t.document->world, t.window); }},
    {"EntityHelp", [](const Context& t) -> QDialog* { return new cEntityHelpDialog(t.window); }},
    {"EntityList", [](const Context& t) -> QDialog* { return new cEntityListDialog(t.window); }},
    {"EntityReport",
     [](const Context& t) -> QDialog* { return new cEntityReportDialog(t.document, t.window); }},
    {"FaceProperties", [](const Context& t) -> QDialog* { return new cFacePropertiesDialog(t.window); }},
    {"MapCheck", [](const Context& t) -> QDialog* { return new cMapCheckDialog(t.document, t.window); }},
    {"MapInfo",
     [](const Context& t) -> QDialog* {
         return new cMapInfoDialog(t.document->gameConfig, Map_Handle(t.document->world), t.window);
     }},
    {"NewKeyvalue", [](const Context& t) -> QDialog* { return new cNewKeyvalueDialog(t.window); }},
    {"ObjectProperties", [](const Context& t) -> QDialog* { return new cObjectPropertiesDialog(t.window); }},
    {"ShaderEdit", [](const Context& t) -> QDialog* { return new cShaderEditDialog(t.window); }},
    {"TextureBrowser", [](const Context& t) -> QDialog* { return new cTextureBrowserDialog(t.window); }},
    {"TextureFit", [](const Context& t) -> QDialog* { return new cTextureFitDialog(1, 1, true, t.window); }},
    {"TextureReplace", [](const Context&) -> QDialog* { return new cTextureReplaceDialog(); }},
};

} // namespace

TEST_F(DialogFitTest, EveryDialogShowsAllItsControlsAtNormalAndLargeFont) {
    const QFont normal = QApplication::font();
    for (const qreal scale : {1.0, 1.25}) {
        QFont font = normal;
        font.setPointSizeF(normal.pointSizeF() * scale);
        QApplication::setFont(font);
        for (const DialogCase& c : kDialogs) {
            std::unique_ptr<QDialog> dialog(c.make({window.get(), child->document}));
            ASSERT_NE(dialog, nullptr) << c.name;
            dialog->show();
            QApplication::processEvents();
            const QStringList faults = everyPage(dialog.get());
            EXPECT_TRUE(faults.isEmpty())
                << c.name << " at " << scale * 100 << " %, " << dialog->width() << "x" << dialog->height()
                << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
            dialog->hide();
        }
    }
    QApplication::setFont(normal);
}
