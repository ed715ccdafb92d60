#include "dialogs/editing/ShaderEditScript.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

#include "dialogs/editing/ShaderEditHighlighter.h"
#include "dialogs/editing/ShaderScriptFormat.h"
#include "gamedata/PluginInterface.h"
#include "render/ColorScheme.h"

namespace {
// Completion words of one line fit this buffer.
constexpr int kSuggestionBufferSize = 16384;
// Lines out of view looked at per slice of colouring while events run.
constexpr int kRecolourSlice = 256;
const QColor kBuildMarkColour(190, 220, 250);
const QColor kErrorLineColour(255, 235, 235);
const QColor kErrorCursorLineColour(255, 210, 210);
const QColor kCursorLineColour(240, 240, 240);

BlockUserStruct* blockData(const QTextBlock& block) {
    return static_cast<BlockUserStruct*>(block.userData());
}
} // namespace

cShaderEditLineNumbers::cShaderEditLineNumbers(cShaderEditScript* editor) : QWidget(editor), editor(editor) {}

QSize cShaderEditLineNumbers::sizeHint() const {
    return QSize(editor->lineNumbersWidth(), 0);
}

void cShaderEditLineNumbers::paintEvent(QPaintEvent* event) {
    editor->paintLineNumbers(event);
}

cShaderEditScript::cShaderEditScript(QWidget* parent) : QPlainTextEdit(parent) {
    lineNumbers = new cShaderEditLineNumbers(this);
    highlighter = new cShaderEditSyntaxHighlighter(this);
    completer = new QCompleter(this);
    completionModel = new QStringListModel(completer);
    completer->setModel(completionModel);
    completer->setModelSorting(QCompleter::UnsortedModel);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setWrapAround(false);
    completer->setWidget(this);
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
            &cShaderEditScript::insertCompletion);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &cShaderEditScript::updateLineNumbersWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &cShaderEditScript::updateLineNumbers);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &cShaderEditScript::updateHighlights);
    connect(this, &QPlainTextEdit::textChanged, this, &cShaderEditScript::updateBlockData);
    recolourTimer = new QTimer(this);
    recolourTimer->setSingleShot(true);
    recolourTimer->setInterval(0);
    connect(recolourTimer, &QTimer::timeout, this, &cShaderEditScript::recolourSlice);
    installEventFilter(this);
    // Tool-tip events reach the viewport, not the editor.
    viewport()->installEventFilter(this);
    setViewportMargins(lineNumbersWidth(), 0, 0, 0);
}

cShaderEditScript::~cShaderEditScript() {
    // The highlighter lives on the document, which the editor owns; stop it before the document
    // goes so it does not call back into a half-destroyed editor, and without telling the
    // listeners of the text, which may be going too.
    disconnect(this, nullptr, nullptr, nullptr);
    const QSignalBlocker blocker(document());
    delete highlighter;
    highlighter = nullptr;
}

int cShaderEditScript::lineNumbersWidth() const {
    int digits = 1;
    for (int count = qMax(10, blockCount()); count >= 10; count /= 10)
        ++digits;
    return digits * fontMetrics().horizontalAdvance(QLatin1Char('9')) + 14;
}

void cShaderEditScript::updateLineNumbersWidth(int) {
    setViewportMargins(lineNumbersWidth(), 0, 0, 0);
}

void cShaderEditScript::updateLineNumbers(const QRect& rect, int dy) {
    if (dy)
        lineNumbers->scroll(0, dy);
    else
        lineNumbers->update(0, rect.y(), lineNumbers->width(), rect.height());
    if (rect.contains(viewport()->rect())) updateLineNumbersWidth(0);
}

void cShaderEditScript::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect contents = contentsRect();
    lineNumbers->setGeometry(QRect(contents.left(), contents.top(), lineNumbersWidth(), contents.height()));
}

void cShaderEditScript::paintLineNumbers(QPaintEvent* event) {
    if (!isEnabled()) return;
    QPainter painter(lineNumbers);
    painter.fillRect(event->rect(), Qt::lightGray);
    const int fontHeight = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    const QColor errorColour = Color_GetQColor(COLOR_SHADEREDIT_ERROR);
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            const int line = block.blockNumber() + 1;
            painter.setPen(Qt::darkGray);
            painter.drawText(0, top, lineNumbers->width() - 3, fontHeight, Qt::AlignRight,
                             QString::number(line));
            QColor mark;
            if (!errors.isEmpty()) {
                for (const ScriptError& error : errors) {
                    if (error.line == line) {
                        mark = errorColour;
                        break;
                    }
                }
            } else if (buildMarks) {
                mark = kBuildMarkColour;
            }
            if (mark.isValid()) {
                painter.setPen(mark);
                painter.setBrush(mark);
                painter.drawEllipse(2, top + fontHeight / 2 - 4, 6, 6);
                painter.setBrush(Qt::NoBrush);
            }
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}

void cShaderEditScript::updateBlockData() {
    // Colouring ends in an edit block of its own, which reports a text change too.
    if (!recolouring) rebuildBlockData(true);
}

void cShaderEditScript::rebuildBlockData(bool rehighlight) {
    int depth = 0;
    int number = 0;
    int firstStale = -1;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next(), ++number) {
        const QString text = block.text();
        int commandStart = -1;
        int commandEnd = -1;
        for (int i = 0; i < text.size(); ++i) {
            const QChar ch = text.at(i);
            if (ch == u'{') ++depth;
            if (ch == u'}') --depth;
            if (commandStart < 0) {
                if (ShaderScript_IsWordStart(ch)) commandStart = i;
            } else if (commandEnd < 0 && ch.unicode() <= u' ') {
                commandEnd = i;
            }
        }
        if (commandStart >= 0 && commandEnd < 0) commandEnd = static_cast<int>(text.size());
        BlockUserStruct* data = blockData(block);
        // A new line is coloured by the pass that asked for the data, or by the one to come.
        const bool fresh = !data;
        if (fresh) {
            data = new BlockUserStruct;
            block.setUserData(data);
        }
        data->depth = depth;
        data->commandEnd = commandEnd;
        if (commandStart >= 0)
            data->command = text.mid(commandStart, commandEnd - commandStart);
        else
            data->command.clear();
        if (fresh) {
            data->colouredDepth = depth;
            data->colouredCommand = data->command;
        }
        // A brace changes the depth of every later line: those must be coloured again.
        if (firstStale < 0 && data->stale()) firstStale = number;
    }
    // The highlighter asks for block data in the middle of a pass; the lines it left stale wait
    // for the next text change.
    if (!rehighlight || !highlighter) return;
    if (firstStale >= 0) {
        // The lines in and around the view now, the others in slices while events run.
        const int page = viewport()->height() / qMax(1, fontMetrics().lineSpacing()) + 2;
        const int first = qMax(firstStale, firstVisibleBlock().blockNumber() - page);
        recolour(document()->findBlockByNumber(first), 3 * page);
        recolourFrom = firstStale;
        recolourTimer->start();
    }
    if (buildMarks) {
        buildMarks = false;
        lineNumbers->update();
        viewport()->update();
    }
}

QTextBlock cShaderEditScript::recolour(QTextBlock block, int count) {
    // Each line coloured on its own would bring the document and its layout up to date once;
    // inside one edit block they settle once for all.
    QTextCursor edit(document());
    recolouring = true;
    edit.beginEditBlock();
    for (; block.isValid() && count > 0; block = block.next(), --count) {
        const BlockUserStruct* data = blockData(block);
        if (data && data->stale()) highlighter->rehighlightBlock(block);
    }
    edit.endEditBlock();
    recolouring = false;
    return block;
}

void cShaderEditScript::recolourSlice() {
    QTextBlock block = document()->findBlockByNumber(recolourFrom);
    while (block.isValid()) {
        const BlockUserStruct* data = blockData(block);
        if (data && data->stale()) break;
        block = block.next();
    }
    if (!block.isValid()) return;
    block = recolour(block, kRecolourSlice);
    if (!block.isValid()) return;
    recolourFrom = block.blockNumber();
    recolourTimer->start();
}

bool cShaderEditScript::recolourPending() const {
    return recolourTimer->isActive();
}

void cShaderEditScript::updateHighlights() {
    suggestionsValid = false;
    QList<QTextEdit::ExtraSelection> selections;
    const int cursorLine = textCursor().blockNumber() + 1;
    bool cursorOnError = false;
    for (const ScriptError& error : errors) {
        const QTextBlock block = document()->findBlockByNumber(error.line - 1);
        if (!block.isValid()) continue;
        QTextEdit::ExtraSelection selection;
        const bool onCursor = error.line == cursorLine;
        cursorOnError = cursorOnError || onCursor;
        selection.format.setBackground(onCursor ? kErrorCursorLineColour : kErrorLineColour);
        selection.format.setProperty(QTextFormat::FullWidthSelection, true);
        selection.cursor = QTextCursor(block);
        selections.append(selection);
    }
    if (!cursorOnError) {
        QTextEdit::ExtraSelection selection;
        selection.format.setBackground(kCursorLineColour);
        selection.format.setProperty(QTextFormat::FullWidthSelection, true);
        selection.cursor = textCursor();
        selection.cursor.clearSelection();
        selections.append(selection);
    }
    setExtraSelections(selections);
}

void cShaderEditScript::clearExtraSelections() {
    setExtraSelections({});
}

QString cShaderEditScript::textUnderCursor() const {
    const QTextCursor cursor = textCursor();
    const QString text = cursor.block().text();
    int start = cursor.positionInBlock();
    const int end = start;
    while (start > 0 && ShaderScript_IsWordChar(text.at(start - 1)))
        --start;
    return text.mid(start, end - start);
}

void cShaderEditScript::insertCompletion(const QString& completion) {
    if (completer->widget() != this) return;
    QTextCursor cursor = textCursor();
    const QString text = cursor.block().text();
    const int base = cursor.block().position();
    int start = cursor.positionInBlock();
    int end = start;
    while (start > 0 && ShaderScript_IsWordChar(text.at(start - 1)))
        --start;
    while (end < text.size() && ShaderScript_IsWordChar(text.at(end)))
        ++end;
    const bool blankFollows = end < text.size() && (text.at(end) == u' ' || text.at(end) == u'\t');
    cursor.setPosition(base + start);
    cursor.setPosition(base + end, QTextCursor::KeepAnchor);
    cursor.insertText(blankFollows ? completion : completion + u' ');
    setTextCursor(cursor);
}

void cShaderEditScript::fillCompleteSuggestions() {
    QStringList words;
    if (completer && funcs && funcs->ListShaderKeywords) {
        const QTextCursor cursor = textCursor();
        const BlockUserStruct* data = blockData(cursor.block());
        QByteArray command;
        const bool afterCommand =
            data && !data->command.isEmpty() && cursor.positionInBlock() > data->commandEnd;
        if (afterCommand) command = data->command.toLocal8Bit();
        QByteArray buffer(kSuggestionBufferSize, '\0');
        if (funcs->ListShaderKeywords(afterCommand ? command.constData() : nullptr, data ? data->depth : 0,
                                      buffer.data(), kSuggestionBufferSize)) {
            buffer[kSuggestionBufferSize - 1] = '\0';
            words = QString::fromLocal8Bit(buffer.constData()).split(u' ', Qt::SkipEmptyParts);
        }
    }
    completionModel->setStringList(words);
    suggestionsValid = true;
}

void cShaderEditScript::invalidateCompleteSuggestions() {
    suggestionsValid = false;
}

void cShaderEditScript::focusInEvent(QFocusEvent* event) {
    completer->setWidget(this);
    QPlainTextEdit::focusInEvent(event);
}

bool cShaderEditScript::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == this && autoIndent) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !completer->popup()->isVisible() &&
            autoIndentLine())
            return true;
    }
    if (event->type() == QEvent::ToolTip) return showErrorTip(watched, event);
    return QPlainTextEdit::eventFilter(watched, event);
}

bool cShaderEditScript::autoIndentLine() {
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const BlockUserStruct* data = blockData(block);
    if (!data) return false;
    const int depth = data->depth;
    const int column = cursor.positionInBlock();
    const QString t = block.text().left(column).trimmed();
    int indent = depth;
    if (t.size() < 2) {
        if (t.contains(u'{')) --indent;
    } else {
        if (t.endsWith(u'}')) ++indent;
        if (t.contains(u'{')) --indent;
    }
    cursor.beginEditBlock();
    cursor.insertText(u'\n' + QString(qMax(0, depth), u'\t'));
    QTextCursor line(document());
    line.setPosition(block.position());
    line.setPosition(block.position() + column, QTextCursor::KeepAnchor);
    line.insertText(QString(qMax(0, indent), u'\t') + t);
    cursor.endEditBlock();
    setTextCursor(cursor);
    return true;
}

bool cShaderEditScript::showErrorTip(QObject* watched, QEvent* event) {
    auto* help = static_cast<QHelpEvent*>(event);
    QStringList lines;
    if (!errors.isEmpty()) {
        QPoint pos = help->pos();
        if (watched == this) pos = viewport()->mapFrom(this, pos);
        const int line = cursorForPosition(pos).blockNumber() + 1;
        for (const ScriptError& error : errors)
            if (error.line == line) lines.append(tr("<b>Error:</b> %1").arg(error.message));
    }
    if (lines.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), lines.join(QStringLiteral("<br>")), this);
    }
    return true;
}

void cShaderEditScript::keyPressEvent(QKeyEvent* event) {
    if (completer->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->ignore();
            return;
        default:
            break;
        }
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool shortcut = (modifiers & Qt::ControlModifier) && event->key() == Qt::Key_Space;
    if (!shortcut) QPlainTextEdit::keyPressEvent(event);
    const bool ctrlOrShift = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    const QString typed = event->text();
    if (!shortcut && ctrlOrShift && typed.isEmpty()) return;
    static const QString endOfWord = QStringLiteral("~!@#%^&*()+{}|:\"<>?,./;'[]\\-=");
    const QString prefix = textUnderCursor();
    const bool otherModifier =
        (modifiers & ~(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier)) != 0;
    QAbstractItemView* popup = completer->popup();
    if (!shortcut && (otherModifier || typed.isEmpty() || !autoComplete || prefix.size() < 2 ||
                      endOfWord.contains(typed.right(1)))) {
        popup->hide();
        return;
    }
    if (!suggestionsValid) fillCompleteSuggestions();
    if (prefix != completer->completionPrefix()) {
        completer->setCompletionPrefix(prefix);
        popup->setCurrentIndex(completer->completionModel()->index(0, 0));
    }
    if (completer->completionCount() == 1) {
        const QString only = completer->currentCompletion();
        if (only.isEmpty() || only == prefix) {
            popup->hide();
            return;
        }
        if (shortcut) {
            insertCompletion(only);
            popup->hide();
            return;
        }
    }
    QRect rect = cursorRect();
    rect.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width());
    completer->complete(rect);
}

void cShaderEditScript::reformat() {
    int cursor = textCursor().position();
    const QString text = toPlainText();
    const QString result = ShaderScript_Reformat(text, &cursor, funcs ? funcs->LookupShaderKeyword : nullptr);
    if (result == text) return;
    QTextCursor edit(document());
    edit.beginEditBlock();
    edit.select(QTextCursor::Document);
    edit.insertText(result);
    edit.endEditBlock();
    QTextCursor place(document());
    place.setPosition(qBound(0, cursor, static_cast<int>(result.size())));
    setTextCursor(place);
    document()->setModified(true);
}
