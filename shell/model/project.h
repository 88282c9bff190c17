// The model of the open project: its title and file, the data-set, calculation
// and report lists and the active entries, with the project file (*.spr).
#pragma once

#include <QString>
#include <QStringList>

class TProject {
 public:
  explicit TProject(const QString& name);
  virtual ~TProject();

  // The folder of the project file, ending in "/"; empty for a project never saved.
  QString GetFolder() const;
  QString GetName() const { return FName; }
  const QStringList& GetDataSets() const { return FDataSets; }
  const QStringList& GetCalculations() const { return FCalculations; }
  const QStringList& GetReports() const { return FReports; }
  int GetActiveCalculation() const { return FActiveCalculation; }
  bool IsNew() const { return FIsNew; }
  bool IsModified() const { return FModified; }

  void SetName(const QString& name);
  void SetActiveCalculation(int index);
  void AddCalculation(const QString& path);
  void RemoveCalculation(const QString& path);
  void DeleteCalculation(int index);
  void RenameActiveCalculation(const QString& path);
  void AddReport(const QString& caption, const QString& folder);
  // Takes the report out of the list and deletes the files of its folder when
  // that is one of this project's run folders, and stays so while they are
  // deleted. Any other folder that exists keeps its files and is returned, so
  // that the user can be told; else empty.
  QString DeleteReport(int index);
  void AddDataSet(const QString& path);

  // The folder of the first report with exactly that caption, or empty.
  QString GetReportFolder(const QString& caption) const;

  // Reads a project file into this freshly constructed project. A file that
  // cannot be read whole leaves the project as it was, but for its file name.
  void LoadFromFile(const QString& path);
  void Save();
  void SaveAs(const QString& path);

 private:
  void Reset();

  QString FFileName;
  QString FName;
  QStringList FDataSets;
  QStringList FCalculations;
  QStringList FReports;
  qint32 FActiveDataSet;
  qint32 FActiveCalculation;
  bool FIsNew;
  bool FModified;
};
