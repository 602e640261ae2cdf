#pragma once

#include "core/disk/gradedisk.h"

#include <QString>

namespace sheet {

// A grade file as the file list shows it, from one reading of the file.
struct ListedFile {
    QString description; // kInvalidGradeFileText for a file that is no grade file
    // "N / M" for a subject file: N grade cells typed (a grade or a mark) of the M its sheet
    // shows; empty for the annual averages and for a file that does not open.
    QString typed;
};

ListedFile listedFile(const gradefile::GradeDisk& disk, const QString& fileName);

} // namespace sheet
