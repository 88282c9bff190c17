// The editor library's entry, which the shell calls on its GUI thread with the
// exchange files in the current directory.
#include <QApplication>
#include <exception>

#include "editor/exchange_files.h"
#include "editor/param_editor_dialog.h"
#include "platform/export.h"
#include "platform/message_box.h"

// 1 when the user accepted parameters and "Parameters.dat" holds them; 0 when
// the user cancelled, and nothing has then been written.
extern "C" WB_EXPORT int _RunParamEditor() {
  // A dialog needs the caller's application object; without one there is
  // nobody to ask.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  try {
    const EditorStart start = ReadEditorStart();
    TWParamEditor dialog(start.Parameters, start.DataSet, start.Notice, kParametersFile,
                         QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
  } catch (const std::exception& error) {
    // Nothing may unwind into the caller, which knows no C++ exceptions.
    platform::ShowErrorBox(error.what());
    return 0;
  }
}
