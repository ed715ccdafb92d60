// The questions before a new map's starter room: its size, the wall, ceiling and floor textures,
// NULL on the faces nobody sees, and whether to ask again next time.
#pragma once

#include <QDialog>
#include <memory>

#include "document/DefaultRoom.h"

struct MapProfileRecord;
struct ShaderRecord;

namespace Ui {
class cDefaultRoomDialog;
}

class cDefaultRoomDialog : public QDialog {
    Q_OBJECT
public:
    // Presets from the profile (may be null: empty texture names, no NULL faces).
    explicit cDefaultRoomDialog(const MapProfileRecord* profile);
    ~cDefaultRoomDialog() override;

    void getParameters(DefaultRoomParameters* out) const;

    // The main window's asker: runs the dialog for the profile.
    static bool ask(const MapProfileRecord* profile, DefaultRoomParameters* out);

public slots:
    void exec_on_accept();
    void exec_on_reject();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void storeNoShow();

    std::unique_ptr<Ui::cDefaultRoomDialog> ui;
    const MapProfileRecord* profile;
    const ShaderRecord* nullShader = nullptr;
};
