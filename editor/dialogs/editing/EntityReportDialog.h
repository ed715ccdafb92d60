// The entity report: the active map's entities in a Class/Name/Target table, filtered by kind,
// visibility, class and one key/value condition, with actions on the chosen rows (mark, go to,
// delete, properties, hide, unhide). Modal; its filter lives on in EntityReportSettings.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class MapDocument;
struct EntityRecord;

namespace Ui {
class cEntityReportDialog;
} // namespace Ui

// The filter kept between runs (the settings group "EntityReport").
struct EntityReportSettings {
    int32_t type = 0; // 0 everything, 1 brush entities, 2 point entities
    bool hidden = false;
    bool keyValue = false;
    bool byClass = false;
    bool exact = false;
    QString classFilter;
    QString keyFilter;
    QString valueFilter;
};

class cEntityReportDialog : public QDialog {
    Q_OBJECT
public:
    cEntityReportDialog(MapDocument* document, QWidget* parent);
    ~cEntityReportDialog() override;

    void setSettings(const EntityReportSettings& settings);
    void getSettings(EntityReportSettings& settings) const;
    // The entity listed in the row (null outside the table).
    EntityRecord* entityAt(int row) const;
    EntityRecord* rememberedEntity() const { return m_remembered; }

    Ui::cEntityReportDialog* ui;

public slots:
    void exec_on_updateEntityFilter();
    void exec_on_selectEntities();
    void exec_on_markEntities();
    void exec_on_gotoEntities();
    void exec_on_deleteEntities();
    void exec_on_editEntities();
    void exec_on_hideEntities();
    void exec_on_unhideEntities();

private:
    void fillClasses();
    // The entities of the selected rows, top to bottom.
    QList<EntityRecord*> chosenEntities() const;
    // Selects exactly the entities with their brushes; the centre of their bounds' centres in
    // middle when asked.
    void selectEntities(const QList<EntityRecord*>& entities, float* middle);
    void setHidden(bool hidden);

    MapDocument* m_document;
    EntityRecord* m_remembered = nullptr;
    bool m_refilling = false;
    QStringList m_labels;
};
