#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>
#include <QTranslator>

#include "WindowFixture.h"
#include "dialogs/application/QCustomAction.h"

namespace {

// Translates the actions' context to "X" + source while installed.
class cPrefixTranslator : public QTranslator {
public:
    cPrefixTranslator() { QCoreApplication::installTranslator(this); }
    ~cPrefixTranslator() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        return qstrcmp(context, "QCustomAction") == 0 ? QStringLiteral("X") + QString::fromUtf8(source)
                                                      : QString();
    }
};

struct TipCase {
    const char* name;
    QString text;     // statusText or toolTipText
    QString argument; // statusArg or the shortcut
    QString tip;      // under the prefix translator
};

TEST(QCustomActionTest, StatusTipCases) {
    const TipCase cases[] = {
        {"no text, even with an argument", "", "ignored", ""},
        {"text with its argument", "Open \"%1\" in web browser", "https://example.invalid/",
         "XOpen \"https://example.invalid/\" in web browser"},
        {"text alone", "Save the map", "", "XSave the map"},
    };
    cPrefixTranslator translator;
    for (const TipCase& c : cases) {
        QCustomAction action(static_cast<QObject*>(nullptr));
        action.setStatusTip(QStringLiteral("stale"));
        action.statusText = c.text;
        action.statusArg = c.argument;
        action.updateStatusTip();
        EXPECT_EQ(action.statusTip(), c.tip) << c.name;
    }
}

TEST(QCustomActionTest, ToolTipCases) {
    const TipCase cases[] = {
        {"no text, even with a shortcut", "", "Ctrl+S", ""},
        {"text and shortcut in brackets", "Save", "Ctrl+S", "XSave [Ctrl+S]"},
        {"text without a shortcut has no brackets", "Save", "", "XSave"},
    };
    cPrefixTranslator translator;
    for (const TipCase& c : cases) {
        QCustomAction action(static_cast<QObject*>(nullptr));
        action.setToolTip(QStringLiteral("stale"));
        action.toolTipText = c.text;
        action.toolTipArg = c.argument;
        action.updateToolTip();
        EXPECT_EQ(action.toolTip(), c.tip) << c.name;
    }
}

TEST(QCustomActionTest, ConstructorsAndTheSeparator) {
    QMenu menu;
    auto* plain = new QCustomAction(&menu);
    auto* named = new QCustomAction(QStringLiteral("&Open"), &menu);
    auto* separator = new QCustomSeparator(&menu);
    EXPECT_EQ(menu.actions(), (QList<QAction*>{plain, named, separator}));
    EXPECT_TRUE(plain->sourceText.isEmpty());
    EXPECT_FALSE(plain->hideWithoutMap || plain->disableWithoutMap || plain->hiddenFromCommandList);
    EXPECT_EQ(plain->index, 0);
    EXPECT_EQ(plain->toolbarOrder, 0);
    EXPECT_EQ(named->sourceText, "&Open");
    EXPECT_EQ(named->text(), "&Open");
    EXPECT_TRUE(separator->isSeparator());
    QObject owner;
    QCustomAction loose(QStringLiteral("Loose"), &owner);
    EXPECT_TRUE(loose.associatedObjects().isEmpty()) << "only a menu parent takes the action";
}

// A language switch and back: texts follow; tool tips keep their bracketed shortcut; a text set
// later by other code on an action built without one survives.
TEST(QCustomActionTest, RetranslationInAndBack) {
    QCustomAction table(QStringLiteral("&Save"), nullptr);
    table.statusText = QStringLiteral("Save the map");
    table.setToolTipText(QStringLiteral("Save"), QStringLiteral("Ctrl+S"));
    QCustomAction later(static_cast<QObject*>(nullptr));
    later.setText(QStringLiteral("recent.map"));
    {
        cPrefixTranslator translator;
        for (QCustomAction* a : {&table, &later})
            a->retranslate();
        EXPECT_EQ(table.text(), "X&Save");
        EXPECT_EQ(table.statusTip(), "XSave the map");
        EXPECT_EQ(table.toolTip(), "XSave [Ctrl+S]");
        EXPECT_EQ(later.text(), "recent.map");
    }
    for (QCustomAction* a : {&table, &later})
        a->retranslate();
    EXPECT_EQ(table.text(), "&Save");
    EXPECT_EQ(table.statusTip(), "Save the map");
    EXPECT_EQ(table.toolTip(), "Save [Ctrl+S]");
    EXPECT_EQ(later.text(), "recent.map");
}

class QCustomActionWindowTest : public cWindowFixture {};

// A tool-bar entry with a menu twin carries the menu action's members, and the two check in step.
TEST_F(QCustomActionWindowTest, ToolBarTwinCarriesTheMenuActionsMembers) {
    writeQuake3Config();
    cMainWindow window(WindowMode::Interactive);
    int twins = 0;
    for (QAction* entry : window.actionList) {
        auto* menuAction = qobject_cast<QCustomAction*>(entry);
        if (!menuAction || menuAction->objectName().isEmpty() || !menuAction->isCheckable()) continue;
        for (QAction* other : window.actionList) {
            auto* twin = qobject_cast<QCustomAction*>(other);
            if (!twin || twin == menuAction || twin->objectName() != menuAction->objectName()) continue;
            if (window.actionList.indexOf(twin) < window.actionList.indexOf(menuAction)) continue;
            SCOPED_TRACE(twin->objectName().toStdString());
            ++twins;
            EXPECT_EQ(twin->sourceText, menuAction->sourceText);
            EXPECT_EQ(twin->statusText, menuAction->statusText);
            EXPECT_EQ(twin->disableWithoutMap, menuAction->disableWithoutMap);
            EXPECT_EQ(twin->toolbarOrder, menuAction->toolbarOrder);
            EXPECT_EQ(twin->actionGroup(), menuAction->actionGroup());
            EXPECT_EQ(twin->icon().cacheKey(), menuAction->icon().cacheKey());
            EXPECT_FALSE(twin->toolTipText.isEmpty());
            const bool was = menuAction->isChecked();
            menuAction->setChecked(!was);
            EXPECT_EQ(twin->isChecked(), !was);
            twin->setChecked(was);
            EXPECT_EQ(menuAction->isChecked(), was);
        }
    }
    EXPECT_GT(twins, 0);
}

} // namespace
