// The chooser beside the object-properties dialog: when the brushes to tie belong to several
// entities, the user picks the one to keep. It is modeless, so rows keep entity serials of one
// document and look the entity up on use; an entity gone meanwhile (undo, delete) drops its row.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class MapDocument;
struct EntityRecord;

namespace Ui {
class cEntityListDialog;
} // namespace Ui

class cEntityListDialog : public QDialog {
    Q_OBJECT
public:
    explicit cEntityListDialog(QWidget* parent);
    ~cEntityListDialog() override;

    // Appends a row for the entity unless one holds it already; the first row becomes current.
    void addEntity(const QString& text, EntityRecord* entity);
    // The entity of the row (null when the row is out of range or its entity is gone).
    EntityRecord* entityAt(int row) const;
    // The document whose entities the rows name (null before the first row).
    MapDocument* document() const { return m_document; }
    void retranslate();

    Ui::cEntityListDialog* ui;

public slots:
    void exec_on_entityChanged(int row);
    void accept() override;
    void reject() override;

private:
    // Removes the rows whose entity no longer exists.
    void dropMissing();
    MapDocument* m_document = nullptr;
};
