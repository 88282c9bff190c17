// The exchange files through which the shell hands the editor a calculation's
// parameter block and data set, in the current directory, and through which
// the editor hands the accepted block back.
#pragma once

#include <QString>
#include <string>

#include "method/run_parameters.h"

inline constexpr char kParametersFile[] = "Parameters.dat";
inline constexpr char kDataSetsFile[] = "DataSets.dat";

// What the editor opens with.
struct EditorStart {
  RunParameters Parameters;
  QString DataSet;  // the data set's path; empty when none is chosen
  QString Notice;   // why the values of "Parameters.dat" are not shown; empty when they are
};

// Values that the method accepts, for a calculation without a block: the
// mean vector of a bivariate standard normal law under test.
RunParameters DefaultRunParameters();

// Reads "Parameters.dat" and "DataSets.dat" from the current directory. A
// missing block gives the defaults; one that cannot be read or decoded gives
// the defaults with a notice.
EditorStart ReadEditorStart();

// Replaces the file with the bytes, or throws EFCreateError and leaves a file
// that was there as it was.
void WriteParametersFile(const QString& path, const std::string& block);
