// The compiler overlays over the map: the leak trace in its point colours, portals in blue in the
// camera view only, hull surfaces in orange with a translucent fill in the camera view.
#include <QFile>
#include <QTemporaryDir>

#include "ObjectViewFixture.h"
#include "document/CompilerOverlays.h"

namespace {

class CompilerOverlaysDraw : public ObjectViewFixture {
protected:
    QByteArray write(const char* name, const char* text) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path.toLocal8Bit();
    }
    static bool close(QColor a, int r, int g, int b, int tolerance = 2) {
        return std::abs(a.red() - r) <= tolerance && std::abs(a.green() - g) <= tolerance &&
               std::abs(a.blue() - b) <= tolerance;
    }
    static int count(const QImage& image, int r, int g, int b) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (close(QColor(image.pixel(x, y)), r, g, b)) ++n;
        return n;
    }
    QTemporaryDir folder;
};

TEST_F(CompilerOverlaysDraw, PointfileRunsFromRedTowardsBlue) {
    open();
    ASSERT_EQ(Map_LoadPointfile(doc.world, write("leak.lin", "-200 0 0\n0 0 0\n200 0 0\n").constData()), 3);
    const QImage image = top()->grabFramebuffer();
    const float start[3] = {-190, 0, 0}, end[3] = {190, 0, 0};
    const QColor a = rgb(image, screen(top(), start));
    const QColor b = rgb(image, screen(top(), end));
    EXPECT_TRUE(close(a, 255, 0, 0)) << a.name().toStdString();
    EXPECT_GT(b.blue(), 100);
    EXPECT_LT(b.red(), 160);
    // Width 3: the rows next to the trace are drawn too.
    const QPoint s = screen(top(), start);
    EXPECT_TRUE(close(rgb(image, s + QPoint(0, 1)), 255, 0, 0) ||
                close(rgb(image, s - QPoint(0, 1)), 255, 0, 0));
}

TEST_F(CompilerOverlaysDraw, PortalsBlueInTheCameraViewOnly) {
    open();
    ASSERT_EQ(Map_LoadPortalFile(doc.world,
                                 write("map.prt", "PRT1\n2\n1\n4 0 1 (150 -60 4 ) (150 60 4 ) (150 60 124 ) "
                                                  "(150 -60 124 )\n")
                                     .constData(),
                                 kPortalFormatPrt1),
              1);
    EXPECT_GT(count(camera()->grabFramebuffer(), 0, 0, 255), 50);
    for (cCanvas* view : views2D())
        EXPECT_EQ(count(view->grabFramebuffer(), 0, 0, 255), 0) << view->viewType;
}

TEST_F(CompilerOverlaysDraw, HullsOrangeOutlinedAndFilledTranslucentIn3D) {
    open();
    ASSERT_EQ(Map_LoadHullFile(doc.world, write("map.p1", "0 0 0 4\n150 -60 4\n150 60 4\n150 60 124\n"
                                                          "150 -60 124\n")
                                              .constData()),
              1);
    // 2D: outline only (the square is edge-on in the top view, a line along y).
    const QImage top2D = top()->grabFramebuffer();
    const float onHull[3] = {150, 0, 64};
    EXPECT_TRUE(close(rgb(top2D, screen(top(), onHull)), 255, 128, 26, 3));
    // 3D: the inside is the background blended with a quarter of orange.
    const QImage image = camera()->grabFramebuffer();
    EXPECT_GT(count(image, 255, 128, 26), 50); // the outline
    const QColor background = scheme(COLOR_3D_BACKGROUND);
    const QColor inside = rgb(image, QPoint(camera()->viewWidth / 2, camera()->viewHeight / 2));
    EXPECT_NEAR(inside.red(), background.red() * 0.75 + 255 * 0.25, 3) << inside.name().toStdString();
    EXPECT_NEAR(inside.green(), background.green() * 0.75 + 128 * 0.25, 3);
}

} // namespace
