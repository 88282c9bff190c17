#include "shell/config/settings_store.h"

#include <QSettings>
#include <QtEndian>
#include <array>
#include <memory>

namespace {

constexpr char kPlacementValue[] = "WMainParameters";
constexpr char kStateValue[] = "WMainState";
constexpr char kHistorySubkey[] = "HistoryList";
constexpr char kHistProjectPrefix[] = "HistProject";
constexpr char kHistCalcPrefix[] = "HistCalc";
constexpr qsizetype kPlacementBytes = 16;

// Organization "TALVO" and application "System" make the native store's key
// Software\TALVO\System below the user's root on Windows.
std::unique_ptr<QSettings> OpenStore() {
  auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "TALVO", "System");
  store->setFallbacksEnabled(false);
  return store;
}

QString SlotName(const char* prefix, int slot) { return QString::fromLatin1(prefix) + QString::number(slot); }

void WriteHistory(QSettings& store, const char* prefix, int slot_count, const QStringList& list) {
  for (int slot = 0; slot < slot_count; ++slot) {
    store.setValue(SlotName(prefix, slot), slot < list.size() ? list[slot] : QString());
  }
}

QStringList ReadHistory(const QSettings& store, const char* prefix, int slot_count) {
  QStringList list;
  for (int slot = 0; slot < slot_count; ++slot) {
    const QString path = store.value(SlotName(prefix, slot)).toString();
    if (!path.isEmpty()) list.append(path);
  }
  return list;
}

void WriteAll(QSettings& store, const MainWindowSettings& settings) {
  store.setValue(kPlacementValue, EncodePlacement(settings.placement));
  store.setValue(kStateValue, settings.state);
  store.beginGroup(kHistorySubkey);
  WriteHistory(store, kHistProjectPrefix, kHistProjectSlots, settings.hist_projects);
  WriteHistory(store, kHistCalcPrefix, kHistCalcSlots, settings.hist_calcs);
  store.endGroup();
}

}  // namespace

QByteArray EncodePlacement(const WindowPlacement& placement) {
  const std::array<qint32, 4> fields = {placement.left, placement.top, placement.height, placement.width};
  QByteArray bytes(kPlacementBytes, '\0');
  for (std::size_t i = 0; i < fields.size(); ++i) qToLittleEndian(fields[i], bytes.data() + 4 * i);
  return bytes;
}

std::optional<WindowPlacement> DecodePlacement(const QByteArray& bytes) {
  if (bytes.size() != kPlacementBytes) return std::nullopt;
  const auto field = [&bytes](int i) { return qFromLittleEndian<qint32>(bytes.constData() + 4 * i); };
  return WindowPlacement{field(0), field(1), field(2), field(3)};
}

MainWindowSettings LoadMainWindowSettings(const MainWindowSettings& current) {
  auto store = OpenStore();
  MainWindowSettings settings{current.placement, current.state, {}, {}};
  if (store->allKeys().isEmpty()) {
    WriteAll(*store, settings);
    store->sync();
  }
  const QVariant placement = store->value(kPlacementValue);
  if (placement.typeId() == QMetaType::QByteArray) {
    if (auto decoded = DecodePlacement(placement.toByteArray())) settings.placement = *decoded;
  }
  bool is_number = false;
  const int state = store->value(kStateValue).toInt(&is_number);
  if (is_number && state >= 0 && state <= 2) settings.state = state;
  store->beginGroup(kHistorySubkey);
  settings.hist_projects = ReadHistory(*store, kHistProjectPrefix, kHistProjectSlots);
  settings.hist_calcs = ReadHistory(*store, kHistCalcPrefix, kHistCalcSlots);
  store->endGroup();
  return settings;
}

void SaveMainWindowSettings(const MainWindowSettings& settings) {
  auto store = OpenStore();
  WriteAll(*store, settings);
}
