#include "dialogs/application/CustomAngleBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// The dial inside a form, as the object and path dialogs place it; 101 × 101 puts the centre on
// pixel (50, 50) and the needle's reach at 45 pixels.
struct DialFixture {
    DialFixture() {
        form.resize(120, 120);
        dial = new QCustomAngleBox(&form);
        dial->setGeometry(0, 0, 101, 101);
    }
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(p), QPointF(dial->mapToGlobal(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(dial, &e);
    }
    // Press at the first point, move through the others, release at the last.
    void drag(std::initializer_list<QPoint> points, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint* first = points.begin();
        send(QEvent::MouseButtonPress, *first, button, button);
        for (const QPoint& p : points)
            send(QEvent::MouseMove, p, Qt::NoButton, button);
        send(QEvent::MouseButtonRelease, *(points.end() - 1), button, Qt::NoButton);
    }
    QImage pixels() { return dial->grab().toImage(); }
    // The texts the dial reported.
    void listen() {
        QObject::connect(dial, &QCustomAngleBox::valueChanged, dial,
                         [this](const QString& t) { emitted.append(t); });
    }

    QStringList emitted;

    QWidget form;
    QCustomAngleBox* dial;
};

bool isWhite(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::white);
}

TEST(CustomAngleBox, DragsEmitTheAngleWhereTheyEnd) {
    const struct {
        QPoint end;
        const char* text;
    } cases[] = {{{95, 50}, "0"}, {{50, 5}, "90"}, {{5, 50}, "180"}, {{50, 95}, "270"},
                 {{50, 50}, "0"}, {{95, 5}, "45"}, {{5, 95}, "225"}, {{95, 51}, "358"}};
    for (const auto& c : cases) {
        DialFixture f;
        f.dial->setAngle(123);
        f.listen();
        f.drag({{20, 20}, {80, 30}, c.end});
        EXPECT_EQ(f.emitted, QStringList{QLatin1String(c.text)});
        EXPECT_EQ(f.dial->angle, QString::fromLatin1(c.text).toInt());
        EXPECT_FALSE(f.dial->dragging);
    }
}

TEST(CustomAngleBox, OtherButtonsAndStrayReleasesAreIgnored) {
    DialFixture f;
    f.dial->setAngle(33);
    f.listen();
    f.drag({{95, 50}, {5, 50}}, Qt::RightButton);
    f.send(QEvent::MouseButtonRelease, {5, 50}, Qt::LeftButton, Qt::NoButton); // no press before it
    f.send(QEvent::MouseMove, {50, 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(f.emitted.isEmpty());
    EXPECT_EQ(f.dial->angle, 33);
    EXPECT_FALSE(f.dial->dragging);
}

TEST(CustomAngleBox, SetAngleReadsWordsWithoutCaseAndNumbers) {
    DialFixture f;
    const struct {
        const char* text;
        int angle;
    } cases[] = {{"UP", -1},   {"up", -1},   {"Down", -2}, {"DOWN", -2}, {"(diff)", -3}, {"(DIFF)", -3},
                 {"270", 270}, {"-45", -45}, {"abc", 0},   {"", 0},      {"12abc", 0}};
    for (const auto& c : cases) {
        f.dial->setAngle(77);
        EXPECT_EQ(f.dial->setAngle(QString::fromLatin1(c.text)), c.angle) << c.text;
        EXPECT_EQ(f.dial->angle, c.angle) << c.text;
    }
    EXPECT_EQ(f.dial->setAngle(200), 200);

    // The words of the language in use count as well.
    QTranslator russian;
    ASSERT_TRUE(russian.load(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm")));
    QCoreApplication::installTranslator(&russian);
    const QString up = QCoreApplication::translate("QCustomAngleBox", "Up");
    const QString down = QCoreApplication::translate("QCustomAngleBox", "Down");
    const QString diff = QCoreApplication::translate("QCustomAngleBox", "(diff)");
    EXPECT_NE(up, QLatin1String("Up"));
    EXPECT_EQ(f.dial->setAngle(up.toUpper()), -1);
    EXPECT_EQ(f.dial->setAngle(down), -2);
    EXPECT_EQ(f.dial->setAngle(diff), -3);
    EXPECT_EQ(f.dial->setAngle(QStringLiteral("up")), -1);
    QCoreApplication::removeTranslator(&russian);
}

TEST(CustomAngleBox, PaintsNeedleCentreDotAndDisabledDisc) {
    DialFixture f;
    // Needles for the four main directions reach 45 pixels from the centre.
    const struct {
        int angle;
        QPoint tip, beyond;
    } needles[] = {
        {0, {95, 50}, {97, 50}}, {90, {50, 5}, {50, 3}}, {180, {5, 50}, {3, 50}}, {270, {50, 95}, {50, 97}}};
    for (const auto& n : needles) {
        f.dial->setAngle(n.angle);
        const QImage image = f.pixels();
        EXPECT_TRUE(isWhite(image, n.tip.x(), n.tip.y())) << n.angle;
        EXPECT_TRUE(isWhite(image, (n.tip.x() + 50) / 2, (n.tip.y() + 50) / 2)) << n.angle;
        EXPECT_FALSE(isWhite(image, n.beyond.x(), n.beyond.y())) << n.angle;
    }
    // Up, down, mixed and out-of-range values: a single dot in the black disc.
    for (int special : {-1, -2, -3, 361}) {
        f.dial->setAngle(special);
        const QImage image = f.pixels();
        EXPECT_TRUE(isWhite(image, 50, 50)) << special;
        for (QPoint p : {QPoint(51, 50), QPoint(70, 50), QPoint(50, 30)})
            EXPECT_EQ(image.pixelColor(p), QColor(Qt::black)) << special;
    }
    // Disabled: the disc in the form's window colour and no needle.
    f.dial->setAngle(0);
    f.form.setEnabled(false);
    const QImage image = f.pixels();
    const QColor window = f.form.palette().color(QPalette::Active, QPalette::Window);
    for (QPoint p : {QPoint(50, 50), QPoint(70, 50), QPoint(90, 50)})
        EXPECT_EQ(image.pixelColor(p), window);
}

TEST(CustomAngleBox, AParentlessDialPaintsWithItsOwnPalette) {
    QCustomAngleBox dial;
    dial.resize(41, 41);
    dial.setAngle(-1);
    const QImage image = dial.grab().toImage();
    EXPECT_TRUE(isWhite(image, 20, 20));
    EXPECT_EQ(image.pixelColor(25, 20), QColor(Qt::black));
    dial.setEnabled(false);
    EXPECT_EQ(dial.grab().toImage().pixelColor(20, 20),
              dial.palette().color(QPalette::Active, QPalette::Window));
}

} // namespace
