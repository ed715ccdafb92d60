// The forms of the entity report, entity chooser, entity help and visgroup editor: sizes, titles,
// control names and texts, and their Russian titles after a language switch.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTranslator>
#include <functional>
#include <memory>

#include "SampleWindowFixture.h"
#include "dialogs/editing/EditGroupsDialog.h"
#include "dialogs/editing/EntityHelpDialog.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/EntityReportDialog.h"

namespace {

class EntityDialogFormsTest : public cSampleWindowFixture {};

struct Form {
    const char* name;
    QSize size;
    const char* title;
    const char* russianTitle;
    std::vector<std::pair<const char*, const char*>> texts; // object name, text
};

std::unique_ptr<QDialog> build(const char* name, MapDocument* document, QWidget* parent) {
    const QByteArray n(name);
    if (n == "cEntityReportDialog") return std::make_unique<cEntityReportDialog>(document, parent);
    if (n == "cEntityListDialog") return std::make_unique<cEntityListDialog>(parent);
    if (n == "cEntityHelpDialog") return std::make_unique<cEntityHelpDialog>(parent);
    return std::make_unique<cEditGroupsDialog>(0, document->world, parent);
}

QString textOf(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return QStringLiteral("<no text>");
}

TEST_F(EntityDialogFormsTest, SizesTitlesAndTexts) {
    const Form forms[] = {
        {"cEntityReportDialog",
         {455, 461},
         "Entity Report",
         "Отчёт по объектам",
         {{"groupBox", "Entities"},
          {"groupBox_2", "Filter"},
          {"rbEverything", "&Everything"},
          {"rbBrush", "&Brush entities"},
          {"rbPoint", "&Point entities"},
          {"cbHidden", "Include &hidden objects"},
          {"cbKVD", "By &key/value:"},
          {"cbExact", "&Exact"},
          {"cbClass", "By &class:"},
          {"label", "="},
          {"btnMark", "&Mark"},
          {"btnGoto", "&Go to"},
          {"btnDelete", "&Delete"},
          {"btnProperties", "&Properties..."},
          {"btnClose", "&Close"},
          {"btnHide", "&Hide"},
          {"btnUnhide", "&Unhide"}}},
        {"cEntityListDialog",
         {281, 173},
         "Select the Destination",
         "Выбор назначения",
         {{"label", "Multiple entities are selected - please pick the one you want to keep:"}}},
        {"cEntityHelpDialog", {361, 381}, "Entity Help", "Справка по объекту", {}},
        {"cEditGroupsDialog",
         {390, 241},
         "Object Groups",
         "Группы объектов",
         {{"groupBox", "Groups"},
          {"groupBox_2", "Selected Group"},
          {"label", "&Name:"},
          {"btnColor", "&Color..."},
          {"btnNew", "&New Group"},
          {"btnRemove", "&Remove"}}},
    };
    for (const Form& form : forms) {
        std::unique_ptr<QDialog> dialog = build(form.name, child->document, window.get());
        EXPECT_EQ(dialog->objectName(), form.name);
        EXPECT_EQ(dialog->size(), form.size) << form.name;
        EXPECT_EQ(dialog->minimumSize(), form.size) << form.name;
        EXPECT_EQ(dialog->maximumSize(), form.size) << form.name;
        EXPECT_EQ(dialog->windowTitle(), form.title) << form.name;
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowContextHelpButtonHint) << form.name;
        for (const auto& [object, text] : form.texts) {
            auto* w = dialog->findChild<QWidget*>(QLatin1String(object));
            ASSERT_NE(w, nullptr) << form.name << " " << object;
            EXPECT_EQ(textOf(w), QString::fromUtf8(text)) << form.name << " " << object;
        }
    }
    QTranslator russian;
    ASSERT_TRUE(russian.load(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm")));
    QCoreApplication::installTranslator(&russian);
    for (const Form& form : forms) {
        std::unique_ptr<QDialog> dialog = build(form.name, child->document, window.get());
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(form.russianTitle)) << form.name;
    }
    // The long-lived chooser and help window follow a switch made while they exist.
    QCoreApplication::removeTranslator(&russian);
    App_ShowEntityHelp(QStringLiteral("<p>x</p>"));
    window->entityListDialog = new cEntityListDialog(window.get());
    QCoreApplication::installTranslator(&russian);
    window->retranslateAll();
    EXPECT_EQ(window->entityHelpDialog->windowTitle(), QString::fromUtf8("Справка по объекту"));
    EXPECT_EQ(window->entityListDialog->windowTitle(), QString::fromUtf8("Выбор назначения"));
    QCoreApplication::removeTranslator(&russian);
    window->retranslateAll();
}

} // namespace
