// The typed filter of the effect list and the texture browser: which names pass.
#include <gtest/gtest.h>

#include <QStringList>

#include "dialogs/editing/NameFilter.h"

TEST(NameFilter, WhichNamesPass) {
    const QStringList names{"base/fire_blue", "base/red.wall", "base/c+x",
                            "base/plain",     "base/redxwall", "gothic/a+b(1)"};
    struct Case {
        QString typed;
        QStringList passing;
    } cases[] = {
        {"fire blue", {"base/fire_blue"}},
        {"FIRE,plain", {"base/fire_blue", "base/plain"}},
        {"fire;plain,gothic", {"base/fire_blue", "base/plain", "gothic/a+b(1)"}},
        {" ,; ", names}, // separators alone pass every name
        {"red.wall", {"base/red.wall"}},
        {"c+", {"base/c+x"}},
        {"d.w;;c+x", {"base/red.wall", "base/c+x"}},
        {"a+b(", {"gothic/a+b(1)"}}, // taken literally, not a broken pattern
        {"zzz", {}},
    };
    for (const Case& c : cases) {
        const QRegularExpression pattern = NameFilter_Pattern(c.typed);
        ASSERT_TRUE(pattern.isValid()) << c.typed.toStdString();
        QStringList passing;
        for (const QString& name : names)
            if (pattern.match(name).hasMatch()) passing.append(name);
        EXPECT_EQ(passing, c.passing) << c.typed.toStdString();
    }
}
