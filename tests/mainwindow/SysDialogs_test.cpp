// The file dialogs as the user meets them: a real dialog on a real folder, answered in place.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include "DialogAnswer.h"
#include "mainwindow/SysDialogs.h"

namespace {

const QString kFilter = QStringLiteral("Map files (*.map);;Text files (*.txt)");

// The names the dialog lists in its folder, once its model has read the folder.
QStringList listed(QDialog* dialog, int expected) {
    auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!view) return {QStringLiteral("no list")};
    QStringList names;
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        names.clear();
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            names.append(view->model()->index(row, 0, root).data().toString());
    } while (names.size() < expected && clock.elapsed() < 5000);
    names.sort();
    return names;
}

QStringList filterTexts(QDialog* dialog) {
    QStringList texts;
    if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
    return texts;
}

// Patterns match names of either case, the filter texts stay as given, and the chosen filter comes
// back as given.
TEST(SysDialogs, PatternsIgnoreCaseAndFilterTextsStay) {
    QTemporaryDir folder;
    for (const char* name : {"X.MAP", "y.map", "Notes.TXT", "z.bsp"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    struct Case {
        const char* title;
        int function;   // 0 open one, 1 open several, 2 save
        QString preset; // the selected filter handed in
        QStringList names;
        QString type; // typed into the name field
        QString chosen;
        QString filterOut;
    };
    const Case cases[] = {
        {"open", 0, QString(), {"X.MAP", "y.map"}, "X.MAP", "X.MAP", QString()},
        {"open several under the second filter",
         1,
         "Text files (*.txt)",
         {"Notes.TXT"},
         "Notes.TXT",
         "Notes.TXT",
         "Text files (*.txt)"},
        {"save", 2, "Map files (*.map)", {"X.MAP", "y.map"}, "new.MAP", "new.MAP", "Map files (*.map)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        QStringList names, texts;
        cDialogAnswer answer([&](QDialog* dialog) {
            ASSERT_NE(qobject_cast<QFileDialog*>(dialog), nullptr);
            names = listed(dialog, int(c.names.size()));
            texts = filterTexts(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(c.type);
        });
        QString filter = c.preset;
        QStringList result;
        if (c.function == 0)
            result.append(Sys_GetOpenFileName(nullptr, QString(), folder.path(), kFilter));
        else if (c.function == 1)
            result = Sys_GetOpenFileNames(nullptr, QString(), folder.path(), kFilter, &filter);
        else
            result.append(Sys_GetSaveFileName(nullptr, QString(), folder.path(), kFilter, &filter));
        ASSERT_TRUE(answer.answered);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(texts, kFilter.split(QStringLiteral(";;")));
        EXPECT_EQ(result, QStringList{QDir(folder.path()).filePath(c.chosen)});
        EXPECT_EQ(filter, c.filterOut);
    }
}

} // namespace
