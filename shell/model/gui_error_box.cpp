#include "shell/model/gui_error_box.h"

GuiErrorBox::GuiErrorBox(QObject* receiver, Prompt& prompt)
    : call_(std::make_shared<GuiThreadCall>(receiver)) {
  replaced_ = platform::SetMessageBoxHandler([call = call_, &prompt](const std::string& text) {
    call->Run([&prompt, text] {
      prompt.Error(QString::fromStdString(text));
      return std::intptr_t{0};
    });
  });
}

GuiErrorBox::~GuiErrorBox() {
  call_->Close();
  platform::SetMessageBoxHandler(replaced_);
}
