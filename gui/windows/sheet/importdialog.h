#pragma once

#include "core/copies/gradeimport.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDialogButtonBox;
class QScrollArea;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace sheet {

// Shows, before anything changes, what importing a class's grades from a file would do: the
// file's identifier column (guessed, changeable), the exam each of its other columns fills
// (by header, changeable), and the summary of the plan as the choices stand. It changes
// nothing itself: accepted, its plan is applied by whoever opened it.
class ImportDialog : public QDialog {
    Q_OBJECT

public:
    // The sheet must outlive the dialog.
    ImportDialog(const GradeSheet& sheet, QWidget* parent);

    // Reads the file and guesses its columns; false, the reason shown, when it gives no rows.
    bool loadSource(const QString& path);
    const ImportPlan& plan() const { return m_plan; }

    QComboBox* identifierColumn() const { return m_identifierColumn; }
    // The exam chosen for each column of the file: none is item 0, then the exams in order.
    const std::vector<QComboBox*>& examChoices() const { return m_examChoices; }
    QPushButton* importButton() const { return m_importButton; }

    static const QString kCaption;

protected:
    // Measured again once shown: only then do its texts have their fonts.
    void showEvent(QShowEvent* event) override;

private:
    void chooseSource();
    void fillColumns();
    void examChosen(QComboBox* chosen);
    void replan();
    QString summaryText() const;
    QString detailsText() const;

    const GradeSheet& m_sheet;
    std::vector<ImportExam> m_exams;
    SourceRows m_source;
    ImportPlan m_plan;
    QLabel* m_file = nullptr;
    QComboBox* m_identifierColumn = nullptr;
    QScrollArea* m_bodyArea = nullptr;
    QGridLayout* m_columns = nullptr;
    std::vector<QComboBox*> m_examChoices;
    QLabel* m_summary = nullptr;
    QPlainTextEdit* m_details = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_importButton = nullptr;
};

} // namespace sheet
