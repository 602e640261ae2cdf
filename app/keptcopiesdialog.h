#pragma once

#include "recovery/keptcopies.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace app {

// Lists the kept copies of a grade file (when each was kept, its save number, how many
// pupils have grades in it) and lets the teacher choose one to bring back onto the disk
// or to write into another folder. The choice is carried out by whoever showed it.
class KeptCopiesDialog : public QDialog {
    Q_OBJECT

public:
    enum class Choice { None, ToDisk, ToFolder };

    // Shows the copies of selectedKey first when it has any; every key with copies can be
    // chosen, for the file of a disk that can no longer be read.
    KeptCopiesDialog(const recovery::KeptCopies& copies, const QString& selectedKey,
                     QWidget* parent = nullptr);

    Choice choice() const { return m_choice; }
    QString key() const;
    // The copy chosen; meaningful when choice() is not None.
    recovery::KeptCopy copy() const;

private:
    void createControls();
    void showCopiesOf(const QString& key);
    void selectionChanged();
    void choose(Choice choice);

    const recovery::KeptCopies& m_copies;
    std::vector<recovery::KeptCopySummary> m_summaries;
    Choice m_choice = Choice::None;

    QComboBox* m_keys = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_noCopies = nullptr;
    QPushButton* m_toDisk = nullptr;
    QPushButton* m_toFolder = nullptr;
};

} // namespace app
