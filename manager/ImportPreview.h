#pragma once

#include "contacts/ContactStore.h"
#include "exchange/ImportPlan.h"

#include <QDialog>
#include <chrono>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace manager {

class ImportCardList;
class ImportPreviewModel;

// The preview of an import, before anything is written: one row per card of the file with what
// would be stored, what will happen to it, and under it why it cannot be imported or what the
// import changes in it. New contacts are checked; the
// names already stored are updated only when the user checks them. "Importar" hands back the
// chosen contacts as one change; "Cancelar" writes nothing. Like the contact dialogs, it knows
// neither the main window nor the contact file.
class ImportPreview : public QDialog {
    Q_OBJECT
public:
    ImportPreview(QWidget* parent, const QString& fileName, std::vector<exchange::ImportRow> rows,
                  std::chrono::year_month_day today);

    ImportPreviewModel* model() const { return m_model; }
    ImportCardList* list() const { return m_list; }
    QCheckBox* updateBox() const { return m_updateBox; }
    QLabel* summary() const { return m_summary; }
    QLabel* remarks() const { return m_remarks; }
    QPushButton* importButton() const { return m_importButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

signals:
    // "Importar" was pressed. The preview stays open until it is accepted: the change may still
    // fail to be written.
    void importChosen(const contacts::ContactBatch& batch);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls(const QString& fileName);
    void fitColumns();
    void showChoice();
    void showRemarks(const QModelIndex& current);

    std::chrono::year_month_day m_today;
    ImportPreviewModel* m_model = nullptr;
    ImportCardList* m_list = nullptr;
    QLabel* m_remarks = nullptr;
    QCheckBox* m_updateBox = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace manager
