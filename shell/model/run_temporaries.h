// The temporary files that a run host names as it makes and removes them,
// and the removal of those an ended run left. A run host may name any path,
// and only the files of the run are its to leave: a temporary is removed only
// when it lies in the run folder or, for a parameter block of the Monte Carlo
// method that saves statistics files, in the folder of those files.
#pragma once

#include <QByteArray>
#include <set>
#include <string>

#include "platform/run_channel.h"

class RunTemporaries {
 public:
  // The run folder, absolute, and the block the run was given.
  RunTemporaries(std::string runFolder, const QByteArray& parameters);

  // A frame of the run host that names a temporary made or gone; other
  // frames are no temporaries' news.
  void Note(const platform::RunFrame& frame);

  // Removes those still there that lie in the run's folders.
  void RemoveLeft() const;

 private:
  // The folder of the statistics file whose folder `folder` may be, named as
  // the run names it, or "" when none may be.
  std::string StatisticsFolder(const std::string& folder) const;
  void Remove(const std::string& path) const;

  std::string runFolder_;
  std::string statisticsPath_;  // UTF-8; "" when the run saves no statistics files
  std::int32_t repetitions_ = 0;
  std::set<std::string> left_;
};
