// makemanual IN.md OUT.pdf: renders the user manual from its Markdown source into a PDF, the pictures
// it names (paths relative to the source) scaled down to the text width. Run by the build, so the
// manual beside the program always matches the source in the repository. The chapters (level-1
// headings after the title) are numbered here and listed with their pages after the title; no
// heading ends a page apart from the first lines of its text; each page carries its number.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>
#include <cstdio>

namespace {

constexpr qreal kPixelsPerMm = 96.0 / 25.4;
constexpr qreal kMarginMm = 18.0;
// The band under the text that holds the page number.
constexpr qreal kFootMm = 8.0;
// The text area of an A4 page in layout pixels (96 dpi).
const QSizeF kTextArea((210.0 - 2 * kMarginMm) * kPixelsPerMm,
                       (297.0 - 2 * kMarginMm - kFootMm) * kPixelsPerMm);
// The size of a screen picture on the page against its pixels.
constexpr qreal kPictureScale = 0.6;
// Lines of the following text a heading keeps on its page.
constexpr int kLinesWithHeading = 2;

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
            // Screen pictures at 60 % of their pixels (the PDF keeps every pixel), never wider than
            // the column, never taller than 60 % of a page.
            qreal width = qMin<qreal>(image.width() * kPictureScale, kTextArea.width() - 8);
            width = qMin(width, kTextArea.height() * 0.6 * image.width() / image.height());
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

// The chapters: every level-1 heading after the first (the title), numbered in order. A number
// written in the source ("3. Brushes") is replaced, so chapters can be moved and added freely.
QList<QTextBlock> numberChapters(QTextDocument& document) {
    QList<QTextBlock> chapters;
    bool title = true;
    static const QRegularExpression written(QStringLiteral("^\\d+\\.\\s*"));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1) continue;
        if (title) {
            title = false;
            continue;
        }
        chapters.append(block);
        QTextCursor cursor(block);
        const QRegularExpressionMatch match = written.match(block.text());
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor,
                            match.hasMatch() ? match.capturedLength() : 0);
        cursor.insertText(QStringLiteral("%1. ").arg(chapters.size()));
    }
    return chapters;
}

// The table of contents after the title's first paragraph: a row per chapter, its page filled in
// once the pages are known.
QTextTable* insertContents(QTextDocument& document, const QList<QTextBlock>& chapters) {
    QTextBlock after = document.begin();
    while (after.isValid() && after.blockFormat().headingLevel() != 1)
        after = after.next();
    if (after.isValid()) after = after.next();
    while (after.isValid() && after.text().isEmpty())
        after = after.next();
    if (!after.isValid() || chapters.isEmpty()) return nullptr;
    QTextCursor cursor(after);
    cursor.movePosition(QTextCursor::EndOfBlock);
    QTextBlockFormat heading;
    heading.setHeadingLevel(2);
    heading.setTopMargin(12);
    heading.setBottomMargin(6);
    QTextCharFormat headingText;
    headingText.setFontWeight(QFont::Bold);
    headingText.setFontPointSize(12);
    cursor.insertBlock(heading, headingText);
    cursor.insertText(QStringLiteral("Contents"));
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(1);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 92), QTextLength(QTextLength::PercentageLength, 8)});
    QTextTable* table = cursor.insertTable(int(chapters.size()), 2, format);
    for (int row = 0; row < chapters.size(); ++row) {
        table->cellAt(row, 0).firstCursorPosition().insertText(chapters[row].text(), QTextCharFormat());
        QTextCursor page = table->cellAt(row, 1).firstCursorPosition();
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        page.setBlockFormat(right);
        page.insertText(QStringLiteral("00"), QTextCharFormat());
    }
    return table;
}

// Where a block is once the whole document is laid out: the layout runs lazily, and a block past
// the part laid out so far reports a place of no meaning.
QRectF placeOf(const QTextDocument& document, const QTextBlock& block) {
    (void)document.pageCount(); // finishes the layout
    return document.documentLayout()->blockBoundingRect(block);
}

int pageOf(qreal y) {
    return int(y / kTextArea.height());
}

// Where a block's lines are in the document: the block's place plus the line's own.
qreal lineBottom(const QTextDocument& document, const QTextBlock& block, int line) {
    const QRectF place = placeOf(document, block);
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return place.bottom();
    const QTextLine l = layout->lineAt(qMin(line, layout->lineCount() - 1));
    return place.top() + l.y() + l.height();
}

// A heading whose text would begin on the next page starts that page itself.
void keepHeadingsWithTheirText(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0) continue;
        QTextBlock next = block.next();
        while (next.isValid() && next.text().trimmed().isEmpty() &&
               !next.text().contains(QChar::ObjectReplacementCharacter))
            next = next.next();
        if (!next.isValid()) break;
        const qreal top = placeOf(document, block).top();
        const qreal textEnd = lineBottom(document, next, kLinesWithHeading - 1);
        if (pageOf(top) == pageOf(textEnd - 1)) continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

void fillContents(QTextDocument& document, QTextTable* table, const QList<QTextBlock>& chapters) {
    if (!table) return;
    for (int row = 0; row < chapters.size(); ++row) {
        const int page = pageOf(placeOf(document, chapters[row]).top()) + 1;
        QTextCursor cell = table->cellAt(row, 1).firstCursorPosition();
        cell.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cell.insertText(QString::number(page));
    }
}

// Each page of the laid-out document, with its number centred in the foot band.
void paint(QTextDocument& document, QPdfWriter& writer) {
    QPainter painter(&writer);
    const qreal scale = writer.resolution() / 96.0;
    painter.scale(scale, scale);
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) writer.newPage();
        painter.save();
        painter.translate(0, -page * kTextArea.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * kTextArea.height(), kTextArea.width(), kTextArea.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(11); // layout pixels, as the text's own
        painter.setFont(small);
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(0, kTextArea.height(), kTextArea.width(), kFootMm * kPixelsPerMm),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    }
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
    document.setPageSize(kTextArea);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setMargin(0);
    document.rootFrame()->setFrameFormat(root);
    const QList<QTextBlock> chapters = numberChapters(document);
    QTextTable* contents = insertContents(document, chapters);
    keepHeadingsWithTheirText(document);
    fillContents(document, contents, chapters);

    QPdfWriter writer(out);
    writer.setTitle(QStringLiteral("Z.A.R.V. level editor: user manual"));
    writer.setCreator(QStringLiteral("makemanual"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
    paint(document, writer);
    // QPdfWriter reports no write errors: check that a file came out.
    if (QFileInfo(out).size() == 0) {
        std::fprintf(stderr, "makemanual: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("makemanual: %d pages\n", document.pageCount());
    return 0;
}
