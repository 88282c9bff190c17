#include "editor/param_editor_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/alternative_group.h"
#include "editor/counts_group.h"
#include "editor/dimension_group.h"
#include "editor/exchange_files.h"
#include "editor/hypothesis_group.h"
#include "editor/law_group.h"
#include "editor/output_group.h"
#include "method/parameter_block.h"
#include "platform/exceptions.h"

namespace {

// The lines of messages the dialog has room for beyond what it opens with,
// and the spacing above each message.
constexpr int kMessageLinesRoom = 2;
constexpr int kMessageSpacing = 2;

QLabel* NewMessageLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  MarkAsProblem(label);
  return label;
}

}  // namespace

TWParamEditor::TWParamEditor(const RunParameters& initial, const QString& data_set, const QString& notice,
                             const QString& parameters_file, QWidget* parent)
    : QDialog(parent),
      parameters_file_(parameters_file),
      general_problems_(NewMessageLabel("lblProblems", this)),
      write_error_(NewMessageLabel("lblWriteError", this)),
      problems_(general_problems_) {
  setObjectName("WParamEditor");
  setWindowTitle("Параметры метода Монте-Карло");

  auto* data_set_edit = new QLineEdit(data_set, this);
  data_set_edit->setObjectName("edDataSet");
  data_set_edit->setReadOnly(true);
  data_set_edit->setPlaceholderText("Набор данных не выбран");
  auto* data_set_row = new QFormLayout;
  data_set_row->addRow("Набор данных:", data_set_edit);

  QLabel* notice_label = NewMessageLabel("lblNotice", this);
  notice_label->setText(notice);
  notice_label->setVisible(!notice.isEmpty());

  auto* hypothesis = new HypothesisGroup(problems_, this);
  auto* law = new LawGroup(problems_, this);
  auto* counts = new CountsGroup(problems_, this);
  auto* output = new OutputGroup(problems_, this);
  auto* dimension = new DimensionGroup(problems_, this);
  auto* alternative = new AlternativeGroup(problems_, this);
  connect(dimension, &DimensionGroup::dimensionChanged, alternative, &AlternativeGroup::Resize);
  // Shown and collected in this order: the alternative pair takes its size
  // from the dimension shown before it.
  groups_ = {hypothesis, law, dimension, counts, output, alternative};

  auto* left = new QVBoxLayout;
  left->addWidget(hypothesis);
  left->addWidget(law);
  left->addWidget(counts);
  left->addWidget(output);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(dimension, 1);
  right->addWidget(alternative);
  // The fields scroll where the screen is too small for them.
  page_ = new QWidget;
  auto* columns = new QHBoxLayout(page_);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->addLayout(left);
  columns->addLayout(right, 1);
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setWidget(page_);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok_->setObjectName("btnOK");
  ok_->setDefault(true);
  QPushButton* cancel = buttons->addButton("Отмена", QDialogButtonBox::RejectRole);
  cancel->setObjectName("btnCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &TWParamEditor::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TWParamEditor::reject);

  // A file that cannot be written is said beside the buttons, in room the
  // dialog already has.
  auto* bottom_row = new QHBoxLayout;
  bottom_row->addWidget(write_error_, 1);
  bottom_row->addWidget(buttons, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(data_set_row);
  layout->addWidget(notice_label);
  layout->addWidget(scroll_, 1);
  layout->addWidget(general_problems_);
  layout->addLayout(bottom_row);

  for (ParameterGroup* group : groups_) group->Show(initial);
  for (ParameterGroup* group : groups_) {
    connect(group, &ParameterGroup::changed, this, &TWParamEditor::Revalidate);
    // A refused text leaves the old value in place, which the checks would
    // pass: OK waits until the text is corrected.
    connect(group, &ParameterGroup::refused, this, [this] {
      refusal_shown_ = true;
      ok_->setEnabled(false);
    });
  }
  Revalidate();
  // The sizes the fields want are known once the style has been applied.
  ensurePolished();
  SizeToFit();
}

// The dialog opens as large as its fields want, as far as the screen allows,
// with room for a message or two beside them, and keeps that size: an edit
// that brings a message, a table row or a field does not move the buttons
// from under the pointer. What does not fit scrolls.
void TWParamEditor::SizeToFit() {
  const QSize around = layout()->sizeHint() - scroll_->sizeHint();
  const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int message_room = kMessageLinesRoom * (fontMetrics().lineSpacing() + kMessageSpacing);
  const QSize wanted(std::max(around.width(), 0) + page_->sizeHint().width() + scroll_bar,
                     around.height() + page_->sizeHint().height() + message_room);
  resize(size().expandedTo(wanted).boundedTo(screen()->availableGeometry().size() * 0.9));
}

RunParameters TWParamEditor::Collect(std::vector<ParameterProblem>& problems) const {
  RunParameters parameters;
  problems.clear();
  for (const ParameterGroup* group : groups_) group->Collect(parameters, problems);
  // A text that holds no value says more than what the method makes of the
  // value left in its place.
  for (ParameterProblem& problem : CheckRunParameters(parameters)) {
    const bool known = std::any_of(problems.begin(), problems.end(), [&](const ParameterProblem& input) {
      return input.Field == problem.Field;
    });
    if (!known) problems.push_back(std::move(problem));
  }
  return parameters;
}

RunParameters TWParamEditor::Parameters() const {
  std::vector<ParameterProblem> problems;
  return Collect(problems);
}

std::vector<ParameterProblem> TWParamEditor::Problems() const {
  std::vector<ParameterProblem> problems;
  Collect(problems);
  return problems;
}

void TWParamEditor::Revalidate() {
  refusal_shown_ = false;
  const std::vector<ParameterProblem> problems = Problems();
  problems_.Show(problems);
  ok_->setEnabled(problems.empty());
}

void TWParamEditor::accept() {
  if (refusal_shown_) return;
  std::vector<ParameterProblem> problems;
  const RunParameters parameters = Collect(problems);
  problems_.Show(problems);
  ok_->setEnabled(problems.empty());
  if (!problems.empty()) return;
  try {
    WriteParametersFile(parameters_file_, EncodeRunParameters(parameters));
  } catch (const Exception& error) {
    write_error_->setText(QString::fromStdString(error.Message()));
    write_error_->show();
    return;
  }
  QDialog::accept();
}
