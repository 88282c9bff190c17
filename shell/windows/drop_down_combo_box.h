// A drop-down list that tells before its list opens, so that the items can
// be filled from what is current at that moment.
#pragma once

#include <QComboBox>
#include <functional>

class DropDownComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

  std::function<void()> OnDropDown;

  void showPopup() override {
    if (OnDropDown) OnDropDown();
    QComboBox::showPopup();
  }
};
