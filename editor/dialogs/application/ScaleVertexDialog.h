// The vertex tool's scale window: every change of the factor scales the selected vertices about
// the scale centre at once, on the axes that are not locked. The field always shows the factor in
// force, so the factor is absolute while scale mode lasts.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class cAbstractTool;

namespace Ui {
class cScaleVertexDialog;
}

class cScaleVertexDialog : public QDialog {
    Q_OBJECT
public:
    // The tool comes through a look-up, since the window outlives a replaced tool set.
    using ToolLookup = std::function<cAbstractTool*()>;
    explicit cScaleVertexDialog(ToolLookup tool, QWidget* parent = nullptr);
    ~cScaleVertexDialog() override;

    // Puts the factor into the field without scaling (the tool entering scale mode).
    void setFactor(double factor);

public slots:
    virtual void changeScale(double factor);
    // Escape: the tool leaves scale mode, which hides this window.
    void reject() override;

private:
    std::unique_ptr<Ui::cScaleVertexDialog> ui;
    ToolLookup m_tool;
    bool m_writing = false; // the field is being written by this window
};
