// The bundled sample as a new user first sees it, drawn headless by mapshot through the sample's
// own game configuration: every view textured and the console free of errors and warnings.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The missing-texture checker's magenta, lit or not: red and blue alike, green low.
bool missingMagenta(QRgb p) {
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    return r > 50 && b > 50 && g * 4 < std::min(r, b) && std::abs(r - b) * 5 < std::max(r, b);
}

TEST(MapshotSample, TheSampleOpensTexturedAndClean) {
    const QString mapshot = QCoreApplication::applicationDirPath() + QStringLiteral("/mapshot");
    const QString config = QStringLiteral(ZARV_BIN_DIR "/KDKGameCfg.ini");
    if (!QFileInfo::exists(mapshot) || !QFileInfo::exists(config))
        GTEST_SKIP() << "mapshot or the sample not built";
    QTemporaryDir dir;
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(mapshot,
                  {"--config", config, "--size", "320x240", "--frames", "0",
                   QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/maps/sample.map")),
                   dir.filePath("shot")});
    ASSERT_TRUE(program.waitForFinished(180000));
    const QString log = QString::fromUtf8(program.readAll());
    ASSERT_EQ(program.exitCode(), 0) << log.right(3000).toStdString();
    QStringList bad;
    for (const QString& line : log.split('\n'))
        if (line.startsWith("ERROR", Qt::CaseInsensitive) || line.startsWith("Warning", Qt::CaseInsensitive))
            bad << line;
    EXPECT_TRUE(bad.isEmpty()) << bad.join('\n').toStdString();

    const QImage camera = QImage(dir.filePath("shot-3d.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(camera.isNull());
    int64_t missing = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < camera.height(); ++y)
        for (int x = 0; x < camera.width(); ++x) {
            const QRgb p = camera.pixel(x, y);
            missing += missingMagenta(p);
            colours.insert(p & 0xF0F0F0);
        }
    EXPECT_LT(missing, camera.width() * camera.height() / 100) << "missing-texture checker shows";
    // Flat-shaded faces give a handful of colours; textures give many.
    EXPECT_GT(colours.size(), 60);
}

} // namespace
