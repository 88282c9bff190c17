// The model of the open calculation: its title and file (*.scl), the method
// chosen from the method registry with its bound libraries, the data set, the
// method's parameter block, the exchange files through which method libraries
// get them, and the run of the method's calculation library.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/library.h"

class TThreadedLaunch;

class TCalculation {
 public:
  explicit TCalculation(const QString& name);

  // Frees a calculation; refused with an Exception while it runs, since the
  // run still belongs to it. The destructor is not public for that reason.
  static void Free(TCalculation* calculation);

  QString GetFileName() const { return FFileName; }
  QString GetName() const { return FName; }
  QString GetMethodName() const { return FMethodName; }
  QString GetFullName() const { return FFullName; }
  QString GetDataSet() const { return FDataSet; }
  // Choosing a data set does not count as a change of the calculation.
  void SetDataSet(const QString& path) { FDataSet = path; }
  bool IsNew() const { return FIsNew; }
  bool IsModified() const { return FModified; }
  bool HasDataSet() const { return !FDataSet.isEmpty(); }
  bool HasParameters() const { return !FParameters.isEmpty(); }
  bool HasParamEditor() const { return !FParamEditorDll.isEmpty(); }
  bool HasCalcProgram() const { return !FCalcProgramDll.isEmpty(); }
  bool IsRunning() const { return FLaunch != nullptr; }

  // Takes the method registry entry, binds its libraries and drops the block.
  // Refused while running.
  void SetMethod(const QString& code, const QString& methodName, const QString& fullName,
                 const QString& paramEditorDll, const QString& dataTranslatorDll,
                 const QString& calcProgramDll);

  // Reads a calculation file into this freshly constructed calculation, then
  // binds the method's libraries. A file that cannot be read whole leaves the
  // calculation as it was, but for its file name.
  void LoadFromFile(const QString& path);
  void Save();
  void SaveAs(const QString& path);

  // The method's parameter-editor and data-translator libraries.
  void LoadLibraries();
  void FreeLibraries();

  // Runs the parameter editor on this thread; refused while running.
  void RunParamEditor();

  // The exchange files in the current directory. A data-set path that code
  // page 1251 cannot hold is refused with an EConvertError; a failure to
  // write "DataSets.dat" is not reported.
  void LoadParameters();
  void SaveParameters();
  void WriteDataSetsFile();
  void ClearParameters();

  // Starts the method's calculation library in the current directory, the
  // run folder. A run that does not start leaves no exchange file there.
  void Run();
  // Ends a run at once: the run host is stopped, the library released, the
  // exchange files deleted and the program folder made current again;
  // OnCalculationEnd is not fired for it.
  void Abort();

  // Fired on the GUI thread when a run has ended (not when it was aborted);
  // the main window assigns its end-of-run handler before each run.
  std::function<void(TThreadedLaunch* sender)> OnCalculationEnd;

 protected:
  virtual ~TCalculation();

 private:
  void Reset();
  // Replaces whatever exchange files the current directory holds with this
  // calculation's, before its parameter editor or its run.
  void WriteExchangeFiles();
  static void DeleteExchangeFiles(const QString& folder);
  void ThreadTerminate(TThreadedLaunch* sender);
  void RefuseWhileRunning(const char* message) const;

  QString FFileName;
  QString FName;
  QString FCode;
  QString FMethodName;
  QString FFullName;
  QString FParamEditorDll;
  QString FDataTranslatorDll;
  QString FCalcProgramDll;
  QString FDataSet;
  QByteArray FParameters;
  QStringList FExtraList1;
  double FRunTime;
  QStringList FExtraList2;
  bool FIsNew;
  bool FModified;
  platform::Library FParamEditorLib;
  platform::Library FDataTranslatorLib;
  int (*FRunParamEditor)() = nullptr;
  void* FRunDataTranslator = nullptr;
  TThreadedLaunch* FLaunch = nullptr;
};
