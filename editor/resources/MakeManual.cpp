// makemanual IN.md OUT.pdf: renders the user manual from its Markdown source into a PDF, the pictures
// it names (paths relative to the source) scaled down to the text width. Run by the build, so the
// manual beside the program always matches the source in the repository.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <cstdio>

namespace {

// Width of the text column in layout pixels: A4 less 18 mm margins at 96 dpi.
constexpr qreal kTextWidth = (210.0 - 2 * 18.0) / 25.4 * 96.0;

// Loads every picture the document names and fits it to the text column. False when one is missing,
// so a broken picture fails the build instead of printing an empty frame.
bool placeImages(QTextDocument& document, const QString& folder) {
    bool complete = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString name = format.name();
            const QImage image(folder + QLatin1Char('/') + name);
            if (image.isNull()) {
                std::fprintf(stderr, "makemanual: cannot read picture %s\n", qPrintable(name));
                complete = false;
                continue;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(name), image);
            const qreal width = qMin<qreal>(image.width(), kTextWidth);
            format.setWidth(width);
            format.setHeight(width * image.height() / image.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return complete;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makemanual IN.md OUT.pdf\n");
        return 64;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QFile source(in);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makemanual: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setDefaultStyleSheet(QStringLiteral("code { font-family: 'DejaVu Sans Mono'; }"));
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    if (!placeImages(document, QFileInfo(in).absolutePath())) return 1;

    QPdfWriter writer(out);
    writer.setTitle(QStringLiteral("Z.A.R.V. level editor: user manual"));
    writer.setCreator(QStringLiteral("makemanual"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    document.print(&writer);
    // QPdfWriter reports no write errors: check that a file came out.
    if (QFileInfo(out).size() == 0) {
        std::fprintf(stderr, "makemanual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
