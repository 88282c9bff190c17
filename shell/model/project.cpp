#include "shell/model/project.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <new>
#include <optional>
#include <string>

#include "platform/exceptions.h"
#include "platform/folder_removal.h"
#include "platform/program_folder.h"
#include "platform/quoted.h"
#include "shell/model/model_file.h"
#include "shell/model/strings.h"

namespace {

const QString kReportSeparator = "|";

// The title, three lists and two indexes, each at its largest.
constexpr qint64 kMaxProjectFileBytes = kMaxStringFieldBytes + 3 * kMaxListFieldBytes + 2 * 4;

// A run folder accepted for deletion: the "Reports" folder it lies in, its
// name there, and the folder itself (device and inode) as it was accepted.
struct RunFolder {
  QString reports;
  QString name;
  dev_t device;
  ino_t inode;
};

// A report's folder is deleted only when it is one of the run folders the
// system makes for this project: a time stamp right in the "Reports" folder of
// `bases`, the project's folder and, for runs before the project was first
// saved, the program's "Projects" folder. Project files name folders by
// absolute paths, so a copied project, or a file from elsewhere, may name
// anyone's folder. The folder is resolved with every link in it and must
// then still be the one its path names, so neither "..", nor a "Reports" or a
// time stamp that is a link, leads out.
std::optional<RunFolder> OwnRunFolder(const QString& folder, const QStringList& bases) {
  static const QRegularExpression stamp("^\\d{8}-\\d{9}$");
  if (!QDir::isAbsolutePath(folder)) return std::nullopt;
  const QFileInfo info(folder);
  const QString name = QFileInfo(QDir::cleanPath(folder)).fileName();
  const QString real = info.canonicalFilePath();
  if (!info.isDir() || real.isEmpty() || !stamp.match(name).hasMatch()) return std::nullopt;
  for (const QString& base : bases) {
    const QString real_base = QFileInfo(base).canonicalFilePath();
    const QString reports = QDir(real_base).filePath(LoadStr(StringId::ReportsFolder));
    struct stat status {};
    if (!real_base.isEmpty() && real == reports + name &&
        ::lstat(QFile::encodeName(real).constData(), &status) == 0 && S_ISDIR(status.st_mode)) {
      // Without its closing slash, which would have a link there followed.
      return RunFolder{QDir::cleanPath(reports), name, status.st_dev, status.st_ino};
    }
  }
  return std::nullopt;
}

// Deletes the run folder's files through descriptors of the folder accepted,
// so that a folder swapped for a link, or for another folder, after it was
// accepted leads nowhere else. False, deleting nothing, when the folder
// opened is not the one accepted.
bool DeleteRunFolder(const RunFolder& run) {
  const int reports =
      ::open(QFile::encodeName(run.reports).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (reports < 0) return false;
  const QByteArray name = QFile::encodeName(run.name);
  const auto accepted = [&](const struct stat& status) {
    return status.st_dev == run.device && status.st_ino == run.inode;
  };
  const int folder = ::openat(reports, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat opened {};
  if (folder < 0 || ::fstat(folder, &opened) != 0 || !accepted(opened)) {
    if (folder >= 0) ::close(folder);
    ::close(reports);
    return false;
  }
  // Subfolders are not files and stay.
  platform::RemoveFolderEntries(folder, false);
  struct stat named {};
  if (::fstatat(reports, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && accepted(named)) {
    ::unlinkat(reports, name.constData(), AT_REMOVEDIR);
  }
  ::close(reports);
  return true;
}

}  // namespace

TProject::TProject(const QString& name) {
  try {
    Reset();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(LoadStdStr(StringId::ProjectOutOfMemory));
  }
  FName = name;
}

TProject::~TProject() = default;

void TProject::Reset() {
  FFileName = LoadStr(StringId::Untitled);
  FName.clear();
  FDataSets.clear();
  FCalculations.clear();
  FReports.clear();
  FActiveDataSet = -1;
  FActiveCalculation = -1;
  FIsNew = true;
  FModified = false;
}

QString TProject::GetFolder() const { return FFileName.left(FFileName.lastIndexOf('/') + 1); }

void TProject::SetName(const QString& name) {
  FName = name;
  FModified = true;
}

void TProject::SetActiveCalculation(int index) {
  FActiveCalculation = index;
  FModified = true;
}

void TProject::AddCalculation(const QString& path) {
  FCalculations.append(path);
  FActiveCalculation = static_cast<qint32>(FCalculations.size()) - 1;
  FModified = true;
}

void TProject::RemoveCalculation(const QString& path) {
  // File names on this system are case-sensitive, so the entry must match exactly.
  FCalculations.removeOne(path);
  FActiveCalculation = static_cast<qint32>(FCalculations.size()) - 1;
  FModified = true;
}

void TProject::DeleteCalculation(int index) {
  if (index >= 0 && index < FCalculations.size()) FCalculations.removeAt(index);
  FActiveCalculation = static_cast<qint32>(FCalculations.size()) - 1;
  FModified = true;
}

void TProject::RenameActiveCalculation(const QString& path) {
  if (FActiveCalculation >= 0 && FActiveCalculation < FCalculations.size())
    FCalculations[FActiveCalculation] = path;
  FModified = true;
}

void TProject::AddReport(const QString& caption, const QString& folder) {
  FReports.append(caption + kReportSeparator + folder);
  FModified = true;
}

QString TProject::DeleteReport(int index) {
  QString kept;
  if (index >= 0 && index < FReports.size()) {
    const QString& entry = FReports.at(index);
    const qsizetype bar = entry.indexOf(kReportSeparator);
    const QString folder = bar < 0 ? entry : entry.mid(bar + 1);
    const QStringList bases = {
        GetFolder(), QString::fromStdString(platform::ProgramFolder()) + LoadStr(StringId::ProjectsFolder)};
    const std::optional<RunFolder> run = OwnRunFolder(folder, bases);
    if (!(run && DeleteRunFolder(*run)) && QFileInfo::exists(folder)) kept = folder;
    FReports.removeAt(index);
  }
  FModified = true;
  return kept;
}

void TProject::AddDataSet(const QString& path) {
  FDataSets.append(path);
  FActiveDataSet = static_cast<qint32>(FDataSets.size()) - 1;
  FModified = true;
}

QString TProject::GetReportFolder(const QString& caption) const {
  const QString prefix = caption + kReportSeparator;
  for (const QString& entry : FReports) {
    if (entry.startsWith(prefix)) return entry.mid(entry.indexOf(kReportSeparator) + 1);
  }
  return QString();
}

void TProject::LoadFromFile(const QString& path) {
  FFileName = path;
  ModelFileReader reader(
      path, LoadStdStr(StringId::ProjectOpenError), kMaxProjectFileBytes,
      QString::fromStdString("Файл проекта " + platform::Quoted(path.toStdString()) + " поврежден: "));
  QString name = reader.ReadString();
  QStringList dataSets = reader.ReadList();
  QStringList calculations = reader.ReadList();
  QStringList reports = reader.ReadList();
  const qint32 activeDataSet = reader.ReadInt32();
  const qint32 activeCalculation = reader.ReadInt32();
  reader.ExpectEnd();
  // The callers index the lists with these without a range test.
  if (activeDataSet < -1 || activeDataSet >= dataSets.size()) {
    reader.Fail(QString("номер активного набора данных %1 вне списка").arg(activeDataSet));
  }
  if (activeCalculation < -1 || activeCalculation >= calculations.size()) {
    reader.Fail(QString("номер активного расчета %1 вне списка").arg(activeCalculation));
  }

  FName = std::move(name);
  FDataSets.append(dataSets);
  FCalculations.append(calculations);
  FReports.append(reports);
  FActiveDataSet = activeDataSet;
  FActiveCalculation = activeCalculation;
  FIsNew = false;
  FModified = false;
}

void TProject::Save() {
  ModelFileWriter writer;
  writer.WriteString(FName);
  writer.WriteList(FDataSets);
  writer.WriteList(FCalculations);
  writer.WriteList(FReports);
  writer.WriteInt32(FActiveDataSet);
  writer.WriteInt32(FActiveCalculation);
  WriteWholeFile(FFileName, writer.Bytes(), LoadStdStr(StringId::ProjectCreateError));
  FIsNew = false;
  FModified = false;
}

void TProject::SaveAs(const QString& path) {
  FFileName = path;
  Save();
}
