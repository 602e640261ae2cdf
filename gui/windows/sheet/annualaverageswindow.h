#pragma once

#include "core/gradefile/gradedocument.h"
#include "core/sheet/gradesheet.h"

#include <QWidget>

class QPushButton;
class QScrollArea;

namespace sheet {

class GradeGrid;

// The annual averages sheet: a grade file of the other kind, with one grade column, shown
// for viewing only, as the window says: this program does not write such a file back, so
// no cell takes typing, a mark or a paste.
class AnnualAveragesWindow : public QWidget {
    Q_OBJECT

public:
    explicit AnnualAveragesWindow(QWidget* parent = nullptr);
    ~AnnualAveragesWindow() override;

    GradeGrid* grid() const { return m_grid; }
    const GradeSheet& sheet() const { return m_sheet; }

    // Fills the fresh window with an opened grade file of this kind.
    void fillFromDocument(const gradefile::GradeDocument& document);

    void quit() { close(); }

signals:
    // The window closed; it is deleted next.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void fitToGrid();

    // Grade, surname, first name, identifier, order number, and the first field.
    static constexpr int kAnnualColumns = 6;
    GradeSheet m_sheet{kAnnualColumns};
    GradeGrid* m_grid = nullptr;
    QWidget* m_panel = nullptr;
    QScrollArea* m_panelArea = nullptr;
};

} // namespace sheet
