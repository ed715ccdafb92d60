#include "dialogs/application/PluginDialog.h"

#include "ui_PluginDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <algorithm>
#include <cmath>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/BaseDirectory.h"
#include "core/NumberText.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/ProcessRunner.h"
#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "dialogs/application/DialogHost.h"
#include "core/Prompt.h"
#include "views/ChildWindow.h"
#include "views/PaintHold.h"
#include "views/ViewState.h"
#include "views/DialogParent.h"

namespace {

// The progress row's height: the bar and its gap.
constexpr int kProgressRow = 21;
constexpr int kPrintBuffer = 8192;

cPluginDialog*& activeDialog() {
    static cPluginDialog* dialog = nullptr;
    return dialog;
}

// Interface texts cross as UTF-8 and are translated in the dialog's context.
QString translated(const char* text) {
    return text ? QCoreApplication::translate("cPluginDialog", text) : QString();
}

QString plain(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// Reports "<entry> called with no active dialog"; true when there is one.
bool haveDialog(const char* entry) {
    if (activeDialog()) return true;
    Sys_Error("%s called with no active dialog", entry);
    return false;
}

bool goodParameters(const char* entry, const char* name, const char* label) {
    if (!haveDialog(entry)) return false;
    if (name && label) return true;
    Sys_Error("%s called with bad parameters", entry);
    return false;
}

// The printf conversions of a format in order ("%%" included), to tell whether a translation
// reads the same arguments.
QStringList conversions(const QByteArray& format) {
    static const QRegularExpression conversion(
        QStringLiteral("%[-+ #0']*(\\*|\\d+)?(\\.(\\*|\\d*))?(hh|h|ll|l|L|q|j|z|t)?[diouxXeEfFgGaAcspn%]"));
    QStringList found;
    auto it = conversion.globalMatch(QString::fromLatin1(format));
    while (it.hasNext())
        found.append(it.next().captured(0));
    return found;
}

} // namespace

cPluginDialogButton::cPluginDialogButton(const QString& text, QWidget* parent, QLineEdit* edit,
                                         QListWidget* list, const QString& filter, int flags)
    : QPushButton(text, parent), targetEdit(edit), targetList(list), filter(filter), flags(flags) {
    setMaximumSize(22, 22);
}

cPluginDialog::cPluginDialog(QWidget* parent) : QDialog(parent), form(new Ui::cPluginDialog) {
    form->setupUi(this);
    setFixedSize(size());
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    // "Courier New" is rare outside Windows: any fixed-pitch face will do.
    QFont mono = form->txtOutput->font();
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    if (!QFontInfo(mono).fixedPitch()) {
        mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        mono.setPointSize(8);
    }
    form->txtOutput->setFont(mono);
    QPalette palette = form->txtOutput->palette();
    palette.setColor(QPalette::Base, QColor(224, 223, 227));
    palette.setColor(QPalette::Text, Qt::black);
    form->txtOutput->setPalette(palette);
    outputHold = new cPaintHold(form->txtOutput);

    auto* contents = new QWidget;
    layout = new QFormLayout(contents);
    layout->setContentsMargins(4, 4, 4, 4);
    form->scrollArea->setWidget(contents);
    form->scrollArea->setWidgetResizable(true);
    // The form starts with the row present (the bar enabled).
    form->progressBar->setEnabled(true);
    showProgressBar(false);
    connect(form->btnRun, &QPushButton::clicked, this, &cPluginDialog::exec_on_run);
    connect(form->btnCopy, &QPushButton::clicked, this, &cPluginDialog::exec_on_copy);
    connect(form->btnClose, &QPushButton::clicked, this, &cPluginDialog::exec_on_close);
}

void cPluginDialog::moveLowerWidgets(int dy, bool withProgressBar) {
    QWidget* lower[] = {form->txtOutput, form->btnRun, form->btnCopy, form->btnClose, form->progressBar};
    for (QWidget* w : lower) {
        if (w == form->progressBar && !withProgressBar) continue;
        w->move(w->x(), w->y() + dy);
    }
}

bool cPluginDialog::progressRowShown() const {
    return form->progressBar->isEnabled();
}

void cPluginDialog::showProgressBar(bool show) {
    if (show == progressRowShown()) return;
    form->progressBar->setEnabled(show);
    if (!show) form->progressBar->hide();
    moveLowerWidgets(show ? kProgressRow : -kProgressRow, false);
    setFixedHeight(height() + (show ? kProgressRow : -kProgressRow));
}

void cPluginDialog::setProgress(int value, int maximum) {
    if (maximum < 100) {
        value *= 100;
        maximum *= 100;
    }
    QProgressBar* bar = form->progressBar;
    bool changed = false;
    if (bar->maximum() != maximum) {
        bar->setMaximum(maximum);
        changed = true;
    }
    if (bar->value() != value) {
        bar->setValue(value);
        changed = true;
    }
    if (changed && bar->isVisible()) bar->repaint();
}

void cPluginDialog::fitToRows() {
    const int spacing = std::max(0, layout->verticalSpacing());
    const int rows = layout->rowCount();
    int needed = spacing * (rows + 1);
    for (int i = 0; i < rows; ++i) {
        QLayoutItem* item = layout->itemAt(i, QFormLayout::FieldRole);
        if (!item) item = layout->itemAt(i, QFormLayout::SpanningRole);
        if (item) needed += item->sizeHint().height();
    }
    const int available = form->scrollArea->height();
    if (needed < available) {
        const int diff = available - needed;
        form->scrollArea->resize(form->scrollArea->width(), needed);
        moveLowerWidgets(-diff, true);
        setFixedHeight(height() - diff);
    }
    if (needed <= available) form->scrollArea->setFrameShape(QFrame::NoFrame);
}

void cPluginDialog::addRow(const QString& label, QWidget* field, int kind, const QString& name, int flags,
                           QWidget* valueWidget) {
    if (label.isNull())
        layout->addRow(field);
    else
        layout->addRow(QStringLiteral("%1:").arg(label), field);
    // A later argument of the same name takes it over; the earlier row stays unread.
    arguments[name] = PluginDialogArgument{kind, flags, name, valueWidget};
}

void cPluginDialog::addTextEdit(const QString& name, const QString& label, const QString& text, int flags) {
    auto* edit = new QLineEdit(this);
    edit->setText(text);
    if (flags & (DLGARG_REQUIRED | DLGARG_EXISTING))
        connect(edit, &QLineEdit::textChanged, this, &cPluginDialog::exec_on_checkRequiredArguments);
    addRow(label, edit, 0, name, flags, edit);
}

void cPluginDialog::addCheckBox(const QString& name, const QString& label, bool checked, int flags) {
    auto* box = new QCheckBox(label, this);
    box->setChecked(checked);
    addRow(QString(), box, 1, name, flags, box);
}

void cPluginDialog::addRadioBox(const QString& name, const QString& label, bool yes, int flags) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* yesButton = new QRadioButton(tr("&Yes"), row);
    auto* noButton = new QRadioButton(tr("&No"), row);
    h->addWidget(yesButton);
    h->addWidget(noButton);
    h->addStretch();
    (yes ? yesButton : noButton)->setChecked(true);
    addRow(label, row, 2, name, flags, yesButton);
}

void cPluginDialog::addSpinBox(const QString& name, const QString& label, int value, int minimum, int maximum,
                               int step, int flags) {
    auto* spin = new QSpinBox(this);
    spin->setMaximumWidth(70);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setSingleStep(step);
    addRow(label, spin, 3, name, flags, spin);
}

void cPluginDialog::addSpinBoxFloat(const QString& name, const QString& label, double value, double minimum,
                                    double maximum, double step, int flags) {
    // A plugin's bounds count only as finite numbers a float holds: an open range would let a typed
    // number reach the plugin as an infinity.
    auto bound = [](double v, double fallback) {
        return std::isfinite(v) ? std::clamp(v, -kNumberKeyLimit, kNumberKeyLimit) : fallback;
    };
    minimum = bound(minimum, -kNumberKeyLimit);
    maximum = bound(maximum, kNumberKeyLimit);
    if (minimum > maximum) std::swap(minimum, maximum);
    auto* spin = new QDoubleSpinBox(this);
    spin->setMaximumWidth(70);
    spin->setDecimals(2);
    spin->setRange(minimum, maximum);
    spin->setValue(std::isfinite(value) ? value : minimum);
    spin->setSingleStep(step);
    addRow(label, spin, 4, name, flags, spin);
}

void cPluginDialog::addComboBox(const QString& name, const QString& label, int index, const char* items,
                                int flags) {
    auto* combo = new QComboBox(this);
    if (items) {
        const QStringList parts = QString::fromUtf8(items).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
            combo->addItem(parts[i], parts[i + 1]);
        if (index >= 0) combo->setCurrentIndex(index);
    }
    addRow(label, combo, 6, name, flags, combo);
}

QLineEdit* cPluginDialog::addPathRow(const QString& name, const QString& label, const QString& path,
                                     const QString& filter, int flags, bool directory) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QLineEdit(path, row);
    auto* button = new cPluginDialogButton(QStringLiteral("..."), this, edit, nullptr, filter, flags);
    h->addWidget(edit);
    h->addWidget(button);
    connect(button, &QPushButton::clicked, this,
            directory ? &cPluginDialog::exec_on_browseForDirectory : &cPluginDialog::exec_on_browseForFile);
    if (flags & (DLGARG_REQUIRED | DLGARG_EXISTING))
        connect(edit, &QLineEdit::textChanged, this, &cPluginDialog::exec_on_checkRequiredArguments);
    addRow(label, row, 0, name, flags, edit);
    return edit;
}

void cPluginDialog::addFileEdit(const QString& name, const QString& label, const QString& path,
                                const QString& filter, int flags) {
    addPathRow(name, label, path, filter, flags, false);
}

void cPluginDialog::addDirectoryEdit(const QString& name, const QString& label, const QString& path,
                                     int flags) {
    addPathRow(name, label, path, QString(), flags, true);
}

void cPluginDialog::addFileList(const QString& name, const QString& label, const char* files,
                                const QString& filter, int flags) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* list = new QListWidget(row);
    QFont small = list->font();
    small.setPointSize(8);
    list->setFont(small);
    list->setTextElideMode(Qt::ElideMiddle);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (files) list->addItems(QString::fromUtf8(files).split(QLatin1Char('\n')));
    auto* v = new QVBoxLayout;
    v->setContentsMargins(0, 0, 0, 0);
    auto* add = new cPluginDialogButton(QStringLiteral("+"), this, nullptr, list, filter, flags);
    auto* remove = new cPluginDialogButton(QStringLiteral("-"), this, nullptr, list, QString(), flags);
    v->addWidget(add);
    v->addWidget(remove);
    v->addStretch();
    h->addWidget(list);
    h->addLayout(v);
    connect(add, &QPushButton::clicked, this, &cPluginDialog::exec_on_browseForFile);
    connect(remove, &QPushButton::clicked, this, &cPluginDialog::exec_on_removeItemFromList);
    addRow(label, row, 5, name, flags, list);
}

QString cPluginDialog::argumentText(const PluginDialogArgument& argument) {
    switch (argument.kind) {
    case 0:
        return static_cast<QLineEdit*>(argument.widget)->text();
    case 1:
        return static_cast<QCheckBox*>(argument.widget)->isChecked() ? QStringLiteral("1")
                                                                     : QStringLiteral("0");
    case 2:
        return static_cast<QRadioButton*>(argument.widget)->isChecked() ? QStringLiteral("1")
                                                                        : QStringLiteral("0");
    case 3:
        return QString::number(static_cast<QSpinBox*>(argument.widget)->value());
    case 4:
        return QString::number(static_cast<QDoubleSpinBox*>(argument.widget)->value(), 'g', 6);
    case 5: {
        auto* list = static_cast<QListWidget*>(argument.widget);
        QStringList quoted;
        for (int i = 0; i < list->count(); ++i)
            quoted.append(QStringLiteral("\"%1\"").arg(list->item(i)->text()));
        return quoted.join(QLatin1Char(' '));
    }
    case 6: {
        auto* combo = static_cast<QComboBox*>(argument.widget);
        return combo->currentIndex() < 0 ? QString() : combo->currentData().toString();
    }
    }
    return QString();
}

QString cPluginDialog::argumentValue(const QString& name) const {
    const auto it = arguments.find(name);
    return it == arguments.end() ? QString() : argumentText(it->second);
}

void cPluginDialog::buildCommandLine() {
    QString line;
    QStringList list;
    auto append = [&](const QString& text) {
        if (!line.isEmpty()) line += QLatin1Char(' ');
        line += text;
    };
    for (const auto& [name, argument] : arguments) {
        const QString value = argumentText(argument);
        const QString flag = QStringLiteral("-%1").arg(name);
        switch (argument.kind) {
        case 1:
        case 2:
            if (value.toInt() != 0) {
                append(flag);
                list.append(flag);
            }
            break;
        case 5:
            if (!value.isEmpty()) {
                append(QStringLiteral("%1 %2").arg(flag, value));
                list.append(flag);
                auto* items = static_cast<QListWidget*>(argument.widget);
                for (int i = 0; i < items->count(); ++i)
                    list.append(items->item(i)->text());
            }
            break;
        default:
            if (value.isEmpty()) break;
            append(value.contains(QLatin1Char(' ')) ? QStringLiteral("%1 \"%2\"").arg(flag, value)
                                                    : QStringLiteral("%1 %2").arg(flag, value));
            list << flag << value;
            break;
        }
    }
    commandLine = line;
    commandArguments = list;
    Sys_Printf("cmdline: `%s'", Text_ToWindows1251(commandLine).constData());
}

QString cPluginDialog::browseDirectory() const {
    if (!lastBrowsedPath.isEmpty()) return lastBrowsedPath;
    if (DialogHost* host = Dialog_Host()) {
        const MapDocument* document = host->activeDocument();
        if (document && document->gameConfig) {
            const GameConfig* config = document->gameConfig;
            if (!config->GameModdir.isEmpty()) return config->GameModdir;
            if (!config->GameBasedir.isEmpty()) return config->GameBasedir;
            return config->MapSourceFileDirectory;
        }
    }
    return App_GetBaseDirectory();
}

void cPluginDialog::exec_on_checkRequiredArguments() {
    bool ok = true;
    for (const auto& [name, argument] : arguments) {
        const QString value = argumentText(argument);
        if (argument.kind == 0 && (argument.flags & DLGARG_EXISTING)) {
            ok = value.isEmpty() ? !(argument.flags & DLGARG_REQUIRED) : QFileInfo::exists(value);
        } else if (argument.flags & DLGARG_REQUIRED) {
            ok = !value.isEmpty();
        }
        if (!ok) break;
    }
    form->btnRun->setEnabled(ok);
}

void cPluginDialog::showEvent(QShowEvent* event) {
    exec_on_checkRequiredArguments();
    QDialog::showEvent(event);
}

void cPluginDialog::exec_on_run() {
    form->btnRun->setEnabled(false);
    form->btnClose->setEnabled(false);
    form->btnCopy->setEnabled(false);
    form->scrollArea->setEnabled(false);
    form->txtOutput->clear();
    const bool row = progressRowShown();
    if (row) form->progressBar->show();
    if (!program.isEmpty()) {
        buildCommandLine();
        cProcessRunner runner(program, commandArguments, commandLine, form->txtOutput);
        runner.run();
    } else if (internalCommand) {
        internalCommand();
    } else {
        QMessageBox::warning(App_DialogParent(Dialog_Window()), QStringLiteral("Z.A.R.V."),
                             tr("Internal command function was not specified!"), QMessageBox::Ok);
    }
    if (row) form->progressBar->hide();
    form->scrollArea->setEnabled(true);
    form->btnRun->setEnabled(true);
    form->btnClose->setEnabled(true);
    form->btnCopy->setEnabled(!form->txtOutput->document()->isEmpty());
}

void cPluginDialog::exec_on_copy() {
    QApplication::clipboard()->setText(form->txtOutput->toPlainText());
}

void cPluginDialog::exec_on_close() {
    accept();
}

void cPluginDialog::addToList(cPluginDialogButton* button, const QStringList& paths) {
    for (const QString& path : paths) {
        if (button->targetList->findItems(path, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
            button->targetList->addItem(path);
    }
    if (button->flags & DLGARG_REQUIRED) exec_on_checkRequiredArguments();
}

void cPluginDialog::exec_on_browseForFile() {
    auto* button = qobject_cast<cPluginDialogButton*>(sender());
    if (!button) return;
    const QString start = button->targetEdit && !button->targetEdit->text().isEmpty()
                              ? button->targetEdit->text()
                              : browseDirectory();
    QStringList chosen;
    if (button->flags & DLGARG_EXISTING) {
        if (button->targetList)
            chosen = Prompt_GetOpenFileNames(this, QString(), start, button->filter);
        else
            chosen.append(Prompt_GetOpenFileName(this, QString(), start, button->filter));
    } else {
        QString selectedFilter;
        QString name = Prompt_GetSaveFileName(this, QString(), start, button->filter, &selectedFilter);
        static const QRegularExpression lastPattern(QStringLiteral("^.*\\*(\\.[^\\)\\*]*)\\)*$"));
        const QRegularExpressionMatch match = lastPattern.match(selectedFilter);
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty() && match.hasMatch())
            name += match.captured(1);
        chosen.append(name);
    }
    chosen.removeAll(QString());
    if (chosen.isEmpty()) return;
    if (button->targetList)
        addToList(button, chosen);
    else if (button->targetEdit)
        button->targetEdit->setText(chosen.first());
    lastBrowsedPath = chosen.first();
}

void cPluginDialog::exec_on_browseForDirectory() {
    auto* button = qobject_cast<cPluginDialogButton*>(sender());
    if (!button) return;
    const QString start = button->targetEdit && !button->targetEdit->text().isEmpty()
                              ? button->targetEdit->text()
                              : browseDirectory();
    const QString chosen = Prompt_GetExistingDirectory(this, QString(), start);
    if (chosen.isEmpty()) return;
    if (button->targetList)
        addToList(button, {chosen});
    else if (button->targetEdit)
        button->targetEdit->setText(chosen);
    lastBrowsedPath = chosen;
}

void cPluginDialog::exec_on_removeItemFromList() {
    auto* button = qobject_cast<cPluginDialogButton*>(sender());
    if (!button || !button->targetList) return;
    qDeleteAll(button->targetList->selectedItems());
    if (button->flags & DLGARG_REQUIRED) exec_on_checkRequiredArguments();
}

// ---- The engine-table entries ----------------------------------------------------------------

cPluginDialog* Dialog_Active() {
    return activeDialog();
}

void Dialog_DiscardLeftOpen() {
    if (!activeDialog()) return;
    Sys_Error("a plugin command left its dialog open");
    delete activeDialog();
    activeDialog() = nullptr;
}

void Dialog_Begin(const char* title) {
    if (activeDialog()) {
        Sys_Error("can't start new dialog while the previous is active");
        return;
    }
    activeDialog() = new cPluginDialog(Dialog_Window());
    if (title) activeDialog()->setWindowTitle(translated(title));
}

void Dialog_InitExternalCommand(const char* runText, const char* program) {
    if (!haveDialog("Dialog_InitExternalCommand")) return;
    cPluginDialog* dialog = activeDialog();
    dialog->program = plain(program);
    dialog->internalCommand = nullptr;
    dialog->showProgressBar(false);
    if (runText) dialog->form->btnRun->setText(translated(runText));
}

void Dialog_InitInternalCommand(const char* runText, void (*command)(void)) {
    if (!haveDialog("Dialog_InitInternalCommand")) return;
    cPluginDialog* dialog = activeDialog();
    dialog->program.clear();
    dialog->internalCommand = command;
    dialog->showProgressBar(true);
    if (runText) dialog->form->btnRun->setText(translated(runText));
}

void Dialog_SetProgress(int32_t value, int32_t maximum) {
    if (haveDialog("Dialog_SetProgress")) activeDialog()->setProgress(value, maximum);
}

void Dialog_AddTextEdit(const char* name, const char* label, const char* text, int32_t flags) {
    if (goodParameters("Dialog_AddTextEdit", name, label))
        activeDialog()->addTextEdit(plain(name), translated(label), plain(text), flags);
}

void Dialog_AddCheckBox(const char* name, const char* label, bool checked, int32_t flags) {
    if (goodParameters("Dialog_AddCheckBox", name, label))
        activeDialog()->addCheckBox(plain(name), translated(label), checked, flags);
}

void Dialog_AddRadioBox(const char* name, const char* label, bool yes, int32_t flags) {
    if (goodParameters("Dialog_AddRadioBox", name, label))
        activeDialog()->addRadioBox(plain(name), translated(label), yes, flags);
}

void Dialog_AddSpinBox(const char* name, const char* label, int32_t value, int32_t minimum, int32_t maximum,
                       int32_t step, int32_t flags) {
    if (goodParameters("Dialog_AddSpinBox", name, label))
        activeDialog()->addSpinBox(plain(name), translated(label), value, minimum, maximum, step, flags);
}

void Dialog_AddSpinBoxFloat(const char* name, const char* label, float value, float minimum, float maximum,
                            float step, int32_t flags) {
    if (goodParameters("Dialog_AddSpinBoxFloat", name, label))
        activeDialog()->addSpinBoxFloat(plain(name), translated(label), value, minimum, maximum, step, flags);
}

void Dialog_AddComboBox(const char* name, const char* label, int32_t index, const char* items,
                        int32_t flags) {
    if (goodParameters("Dialog_AddComboBox", name, label))
        activeDialog()->addComboBox(plain(name), translated(label), index, items, flags);
}

void Dialog_AddFileEdit(const char* name, const char* label, const char* path, const char* filter,
                        int32_t flags) {
    if (goodParameters("Dialog_AddFileEdit", name, label))
        activeDialog()->addFileEdit(plain(name), translated(label), plain(path), translated(filter), flags);
}

void Dialog_AddFileList(const char* name, const char* label, const char* files, const char* filter,
                        int32_t flags) {
    if (goodParameters("Dialog_AddFileList", name, label))
        activeDialog()->addFileList(plain(name), translated(label), files, translated(filter), flags);
}

void Dialog_AddDirectoryEdit(const char* name, const char* label, const char* path, int32_t flags) {
    if (goodParameters("Dialog_AddDirectoryEdit", name, label))
        activeDialog()->addDirectoryEdit(plain(name), translated(label), plain(path), flags);
}

void Dialog_QueryArgument(const char* name, char* buffer, int32_t size) {
    if (!haveDialog("Dialog_QueryArgument") || !buffer || size < 1) return;
    std::memset(buffer, 0, size_t(size));
    const QByteArray value = activeDialog()->argumentValue(plain(name)).toUtf8();
    std::memcpy(buffer, value.constData(), size_t(std::min<qsizetype>(value.size(), size - 1)));
}

int32_t Dialog_QueryArgumentInt(const char* name) {
    if (!haveDialog("Dialog_QueryArgumentInt")) return 0;
    return activeDialog()->argumentValue(plain(name)).toInt();
}

float Dialog_QueryArgumentFloat(const char* name) {
    if (!haveDialog("Dialog_QueryArgumentFloat")) return 0.0f;
    return activeDialog()->argumentValue(plain(name)).toFloat();
}

void Dialog_End() {
    if (!haveDialog("Dialog_End")) return;
    cPluginDialog* dialog = activeDialog();
    dialog->fitToRows();
    dialog->exec();
    delete dialog;
    activeDialog() = nullptr;
}

void Dialog_Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Dialog_VPrintf(format, args);
    va_end(args);
}

void Dialog_VPrintf(const char* format, va_list args) {
    cPluginDialog* dialog = activeDialog();
    if (!dialog || !format) return;
    // A translation is used only when it reads the same arguments as the plugin's format.
    QByteArray text = QCoreApplication::translate("cPluginDialog", format).toUtf8();
    if (conversions(text) != conversions(QByteArray(format))) text = QByteArray(format);
    text.truncate(kPrintBuffer - 1);
    if (text.isEmpty()) return;
    char line[kPrintBuffer];
    std::vsnprintf(line, sizeof line, text.constData(), args);
    // The first line of a burst is painted at once, the lines of the moment after it together.
    QPlainTextEdit* pane = dialog->form->txtOutput;
    const bool opensBurst = dialog->outputHold->open();
    pane->appendPlainText(QString::fromUtf8(line));
    if (opensBurst) pane->repaint();
    if (!View_Painting) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Sys_DebugPrintf("%s\n", line);
}

cPluginDialog::~cPluginDialog() = default;
