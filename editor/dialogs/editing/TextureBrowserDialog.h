// The texture browser: a tab per texture group above the grid of thumbnails, with the scale, the
// filter, only-used textures, animation, and the buttons that mark the objects using the chosen
// texture or open the replace dialog. The main window keeps one for the whole run and runs it
// modally; the caller reads the chosen name and group back afterwards.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "ui_TextureBrowserDialog.h"

class QTimer;
class cTextureBrowser;
struct MapWorld;
struct ShaderRecord;

class cTextureBrowserDialog : public QDialog, public Ui_cTextureBrowserDialog {
    Q_OBJECT
public:
    explicit cTextureBrowserDialog(QWidget* parent);
    ~cTextureBrowserDialog() override;

    // Makes the name current: the labels, the browser's current texture.
    void setCurrentTexture(const QString& name);
    // The browser's pick (null clears the name and the labels).
    void showTextureInfo(ShaderRecord* shader);
    // Hides the scroll bar when the grid fits, else sets its range and value from the browser.
    void updateScrollBar();
    // Scrolls so that the current texture's row is in view.
    void ensureCurrentVisible();
    // The GL grid, made once the shared GL context can be had (a late start-up step).
    void createBrowser();
    // What the caller sets before a run: the name, the group (empty: all) and the map Mark works on.
    void preset(const QString& name, const QString& group, MapWorld* world);
    void retranslate();

    cTextureBrowser* browser = nullptr;
    QString textureName;
    QString groupName = QStringLiteral("(All Textures)");
    QTimer* filterTimer = nullptr;
    MapWorld* mapHandle = nullptr; // the map whose objects Mark selects
    ShaderRecord* currentShader = nullptr;
    // Runs the replace dialog on a name; the name it reports back (empty: nothing replaced).
    std::function<QString(const QString&)> replaceTextures;

public slots:
    void scrollToPos(int value);
    void exec_on_changeScaleMode();
    void exec_on_toggleOnlyUsed();
    void exec_on_toggleAnimate();
    void exec_on_editFilter();
    void exec_on_applyFilter();
    void exec_on_markTextures();
    void exec_on_replaceTextures();
    void exec_on_changeTextureGroup(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showLabels(ShaderRecord* shader);
};
