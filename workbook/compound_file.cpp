#include "workbook/compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <memory>
#include <mutex>

#include "platform/exceptions.h"
#include "workbook/biff_record.h"

namespace workbook {
namespace {

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

void InitGsfOnce() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

// The index of the child named `name`, or -1.
int ChildIndex(GsfInfile* infile, const char* name) {
  const int count = gsf_infile_num_children(infile);
  for (int i = 0; i < count; ++i) {
    const char* child = gsf_infile_name_by_index(infile, i);
    if (child != nullptr && g_ascii_strcasecmp(child, name) == 0) return i;
  }
  return -1;
}

}  // namespace

QByteArray CompoundFile(const char* stream_name, const QByteArray& stream) {
  InitGsfOnce();
  GsfPtr<GsfOutput> sink(gsf_output_memory_new());
  GsfPtr<GsfOutfile> outfile(gsf_outfile_msole_new(sink.get()));
  GsfPtr<GsfOutput> child(gsf_outfile_new_child(outfile.get(), stream_name, FALSE));
  const bool written = child && gsf_output_write(child.get(), static_cast<size_t>(stream.size()),
                                                 reinterpret_cast<const guint8*>(stream.constData()));
  const bool child_closed = child && gsf_output_close(child.get());
  const bool closed = gsf_output_close(GSF_OUTPUT(outfile.get()));
  if (!written || !child_closed || !closed) throw EFCreateError("Не удалось построить составной файл OLE2");
  const gsf_off_t size = gsf_output_size(sink.get());
  const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
  return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
}

QByteArray WorkbookStream(std::string_view file) {
  InitGsfOnce();
  GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()),
                                              static_cast<gsf_off_t>(file.size()), FALSE));
  GError* error = nullptr;
  GsfPtr<GsfInfile> infile(gsf_infile_msole_new(input.get(), &error));
  if (error != nullptr) g_error_free(error);
  if (!infile) BiffDamaged();
  int index = ChildIndex(infile.get(), "Workbook");
  if (index < 0) index = ChildIndex(infile.get(), "Book");
  if (index < 0) BiffDamaged();
  GsfPtr<GsfInput> stream(gsf_infile_child_by_index(infile.get(), index));
  if (!stream) BiffDamaged();
  // A stream cannot hold more than the file it is in.
  const gsf_off_t size = gsf_input_size(stream.get());
  if (size < 0 || static_cast<std::size_t>(size) > file.size()) BiffDamaged();
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  if (size > 0 && gsf_input_read(stream.get(), static_cast<size_t>(size),
                                 reinterpret_cast<guint8*>(bytes.data())) == nullptr) {
    BiffDamaged();
  }
  return bytes;
}

}  // namespace workbook
