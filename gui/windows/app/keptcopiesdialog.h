#pragma once

#include "core/recovery/keptcopies.h"

#include <QDialog>
#include <QStringList>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace gradefile {
class GradeDisk;
}

namespace app {

// Lists the kept copies of a grade file (when each was kept, its save number, how it differs
// from the file on the disk now, the disk it was kept from) and lets the teacher choose one
// to bring back onto the disk or to write into another folder; the choice is carried out by
// whoever showed it. Lists too the unsaved grades set aside (given up at the question that
// offered them, or typed on another content of the file) and puts one back among the
// journals, for the next open of the file to offer again.
class KeptCopiesDialog : public QDialog {
    Q_OBJECT

public:
    enum class Choice { None, ToDisk, ToFolder };

    // Shows the copies of selectedKey first when it has any; every key with copies or grades
    // set aside can be chosen, for the file of a disk that can no longer be read. The copies
    // are compared with the files of disk.
    KeptCopiesDialog(const recovery::KeptCopies& copies, const gradefile::GradeDisk& disk,
                     const QString& selectedKey, QWidget* parent = nullptr);

    Choice choice() const { return m_choice; }
    QString key() const;
    // The copy chosen, once choice() is not None.
    recovery::KeptCopy copy() const;

private:
    void createControls();
    QWidget* createAsidePart();
    void showKey(const QString& key);
    void showCopiesOf(const QString& key);
    void showAsideJournalsOf(const QString& key);
    void selectionChanged();
    void choose(Choice choice);
    void bringBackAsideJournal();

    const recovery::KeptCopies& m_copies;
    const gradefile::GradeDisk& m_disk;
    std::vector<recovery::KeptCopySummary> m_summaries;
    QStringList m_asideJournals;
    Choice m_choice = Choice::None;

    QComboBox* m_keys = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_noCopies = nullptr;
    QPushButton* m_toDisk = nullptr;
    QPushButton* m_toFolder = nullptr;
    QWidget* m_asidePart = nullptr;
    QTreeWidget* m_asideList = nullptr;
    QPushButton* m_bringBack = nullptr;
};

} // namespace app
