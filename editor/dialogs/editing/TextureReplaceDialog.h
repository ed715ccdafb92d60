// "Replace Textures": finds texture names in a map and replaces them (exactly, as a whole name, or
// by substituting the found text), or marks the objects that use them; optionally multiplies the
// texture scale of everything found. Works on brush faces, patches and overlays.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "map/MapObject.h"

namespace Ui {
class cTextureReplaceDialog;
}
class cTextureView;
struct BrushRecord;
struct FaceRecord;
struct MapWorld;
struct OverlayRecord;
struct PatchRecord;
struct ShaderRecord;

// How names match the find text (ignoring case): whole name, contained, contained with the found
// text substituted.
namespace ReplaceMode {
constexpr int Exact = 0;
constexpr int Partial = 1;
constexpr int Substitute = 2;
} // namespace ReplaceMode

// The scope flag: 2 works on the selection only, 0 on everything.
constexpr int kReplaceScopeMarked = 2;
// The hidden flag: 8 skips hidden entities and brushes, 0 visits them too.
constexpr int kReplaceSkipHidden = 8;

class cTextureReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit cTextureReplaceDialog(QWidget* parent = nullptr);
    ~cTextureReplaceDialog() override;

    // The two previews, in the shared GL context, both disabled (a late start-up step).
    void createPreviews();
    // The last texture name, the find field and its preview.
    void setFindTexture(const QString& name);
    QString lastTextureName() const { return m_lastName; }
    // Set by the caller before each run.
    void setMessageParent(QWidget* parent) { m_messageParent = parent; }
    void setMap(MapHandle map) { m_map = map; }
    // Enables "&Marked Objects", or disables it and checks "&Everything".
    void setMarkedAvailable(bool available);

    // Replaces the names that match in the map (one "Replace Textures" level, opened at the first
    // change). Returns the count of faces, patches and overlays changed.
    int replaceTextures(const QString& find, const QString& replacement, int mode, int scope, int hidden,
                        float factor);
    // Selects the faces (face mode) or brushes that use a matching name, rescaling them when the
    // factor is not 1 (under "Rescale Textures"). Returns the count marked.
    int markTextures(const QString& find, int mode, int scope, int hidden, float factor);

    // The main window's texture browser: the name to start at, the chosen name back (empty: none).
    std::function<QString(const QString& name)> browseTextures;
    // The texture browser dialog, whose visibility disables the browse buttons.
    QWidget* browserDialog = nullptr;

    cTextureView* findPreview() const { return m_findView; }
    cTextureView* replacePreview() const { return m_replaceView; }

public slots:
    void exec_on_browseFindText();
    void exec_on_browseReplaceText();
    void exec_on_changeFindText();
    void exec_on_changeReplaceText();
    void exec_on_checkInput();
    void exec_on_accept();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Pass;
    MapWorld* world() const;
    // Looks the text up as typed, then upper-cased; shows the record or disables the preview.
    ShaderRecord* lookUp(const QString& text, cTextureView* view, bool* known);
    void browse(bool replacement);
    void rescale(FaceRecord* face, float factor);
    void rescale(PatchRecord* patch, float factor);
    void rescale(OverlayRecord* overlay, float factor);
    // The name replacing oldName; mode 2 writes it into out (kTextureNameMax + 1 bytes: no setter
    // keeps more), the other modes answer the pass's replacement.
    const char* newName(const Pass& pass, const char* oldName, char* out) const;
    void replaceFaceTexture(const Pass& pass, FaceRecord* face);
    void replacePatchTexture(const Pass& pass, PatchRecord* patch);
    void replaceOverlayTexture(const Pass& pass, OverlayRecord* overlay);

    std::unique_ptr<Ui::cTextureReplaceDialog> ui;
    QString m_lastName;
    cTextureView* m_findView = nullptr;
    cTextureView* m_replaceView = nullptr;
    bool m_findKnown = false;
    bool m_replaceKnown = false;
    QWidget* m_messageParent = nullptr;
    MapHandle m_map = nullptr;
};
