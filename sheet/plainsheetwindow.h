#pragma once

#include "gradefile/gradedocument.h"
#include "sheet/entrygridbinding.h"
#include "sheet/gradeentry.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace sheet {

class SpreadGrid;

// The plain grade sheet: a grade file of the other kind, with one grade column, shown
// for viewing and typing; this program does not write such a file back.
class PlainSheetWindow : public QWidget {
    Q_OBJECT

public:
    explicit PlainSheetWindow(QWidget* parent = nullptr);
    ~PlainSheetWindow() override;

    SpreadGrid* grid() const { return m_grid; }

    // Fills the fresh window with an opened grade file of this kind.
    void fillFromDocument(const gradefile::GradeDocument& document);

    void quit() { close(); }
    // Tells the teacher that this kind of file is not written back.
    void save();

signals:
    // The window closed; it is deleted next.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void setUpHeaders(const QString& firstColumnHeader);
    void fitHeight();

    QPushButton* m_quitButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_checkButton = nullptr;
    SpreadGrid* m_grid = nullptr;
    std::unique_ptr<EntryGridBinding> m_binding;
    std::unique_ptr<GradeEntry> m_entry;
};

} // namespace sheet
