// The effect editor's window: its list, preview and script areas in the two splitters whose
// states the layout file keeps ("splitter_2" across, "splitter" down the right side).
#pragma once

#include <QDialog>

class QSplitter;

class cShaderEditDialog : public QDialog {
public:
    explicit cShaderEditDialog(QWidget* parent);

    QSplitter* splitter = nullptr;
    QSplitter* splitter2 = nullptr;
};
