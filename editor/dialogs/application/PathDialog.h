// The "Path Properties" dialog: a path's name (unique among the map's paths), its entity class and
// its direction. The path tool asks it for a new path; OK stays off until name and class are given.
#pragma once

#include <QDialog>
#include <QStringList>

#include "ui_PathDialog.h"

class MapDocument;
struct GameConfig;
struct PathRecord;

class cPathDialog : public QDialog, public Ui_cPathDialog {
    Q_OBJECT
public:
    cPathDialog(MapDocument* document, QWidget* parent);

    // The path being edited (its own name does not count as taken); null for a new path.
    PathRecord* editedPath = nullptr;

    // Fills the controls from the path the Edit menu edits, which becomes editedPath.
    void loadPath(PathRecord* path);

    MapDocument* document() const { return m_document; }
    // 0 one way, 1 circular, 2 ping-pong.
    int direction() const;

public slots:
    void exec_on_checkInput();
    void accept() override;

private:
    MapDocument* m_document;
};

// The path-like point classes of the configuration's loaded entity-definition files (the "path"
// helper, a name starting "path_" or containing "Path"), in file order without repeats (ignoring
// case) from the second file on, sorted.
QStringList Path_ClassNames(const GameConfig* config);

// Whether the dialog's trimmed name is map text and free among the map's paths (the edited path
// aside); warns over the dialog when it is not.
bool Path_ValidateName(cPathDialog* dialog);
