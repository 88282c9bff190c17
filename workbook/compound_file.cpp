#include "workbook/compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "workbook/biff_record.h"

#if defined(__SANITIZE_ADDRESS__)
#define WB_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WB_LEAK_CHECKED 1
#endif
#endif
#ifdef WB_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

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

// libgsf leaks the directory entries it had built when it gives up on a
// damaged directory, a hundred bytes or so a file; the leak checker is told
// to let its opening of a file pass.
GsfInfile* OpenCompoundFile(GsfInput* input) {
#ifdef WB_LEAK_CHECKED
  const __lsan::ScopedDisabler not_its_leaks;
#endif
  GError* error = nullptr;
  GsfInfile* infile = gsf_infile_msole_new(input, &error);
  if (error != nullptr) g_error_free(error);
  return infile;
}

}  // namespace

struct CompoundFileWriter::Parts {
  GsfPtr<GsfOutput> sink;
  GsfPtr<GsfOutfile> outfile;
  GsfPtr<GsfOutput> child;

  void Open(GsfOutput* to, const char* stream_name) {
    sink.reset(to);
    if (!sink) return;
    outfile.reset(gsf_outfile_msole_new(sink.get()));
    child.reset(gsf_outfile_new_child(outfile.get(), stream_name, FALSE));
  }
};

// The file's own descriptor stays open for its owner; the stdio stream
// closes a copy of it, and so does this when libgsf does not take the stream.
CompoundFileWriter::CompoundFileWriter(const char* stream_name, int fd) : parts_(std::make_unique<Parts>()) {
  InitGsfOnce();
  const int copy = ::dup(fd);
  FILE* file = copy < 0 ? nullptr : ::fdopen(copy, "wb");
  if (file == nullptr && copy >= 0) ::close(copy);
  if (file != nullptr) {
    GsfOutput* sink = gsf_output_stdio_new_FILE("", file, FALSE);
    if (sink == nullptr) std::fclose(file);
    parts_->Open(sink, stream_name);
  }
  written_ = parts_->child != nullptr;
}

// A file given up half-built is closed all the same; its parts then go
// child first, sink last.
CompoundFileWriter::~CompoundFileWriter() {
  if (parts_->child && !gsf_output_is_closed(parts_->child.get())) gsf_output_close(parts_->child.get());
  if (parts_->outfile && !gsf_output_is_closed(GSF_OUTPUT(parts_->outfile.get()))) {
    gsf_output_close(GSF_OUTPUT(parts_->outfile.get()));
  }
}

void CompoundFileWriter::Write(QByteArrayView bytes) {
  written_ = written_ && gsf_output_write(parts_->child.get(), static_cast<size_t>(bytes.size()),
                                          reinterpret_cast<const guint8*>(bytes.data()));
}

bool CompoundFileWriter::Finish() {
  const bool child_closed = parts_->child && gsf_output_close(parts_->child.get());
  const bool closed = parts_->outfile && gsf_output_close(GSF_OUTPUT(parts_->outfile.get()));
  // Closing the outfile may have closed the sink already.
  const bool sink_closed =
      parts_->sink && (gsf_output_is_closed(parts_->sink.get()) || gsf_output_close(parts_->sink.get())) &&
      gsf_output_error(parts_->sink.get()) == nullptr;
  return written_ && child_closed && closed && sink_closed;
}

void ReadWorkbookStream(std::string_view file, const std::function<void(QByteArrayView)>& read) {
  InitGsfOnce();
  GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()),
                                              static_cast<gsf_off_t>(file.size()), FALSE));
  GsfPtr<GsfInfile> infile(OpenCompoundFile(input.get()));
  if (!infile) BiffDamaged();
  int index = ChildIndex(infile.get(), "Workbook");
  if (index < 0) index = ChildIndex(infile.get(), "Book");
  if (index < 0) BiffDamaged();
  GsfPtr<GsfInput> stream(gsf_infile_child_by_index(infile.get(), index));
  if (!stream) BiffDamaged();
  // A stream cannot hold more than the file it is in.
  const gsf_off_t size = gsf_input_size(stream.get());
  if (size < 0 || static_cast<std::size_t>(size) > file.size()) BiffDamaged();
  if (size == 0) {
    read({});
    return;
  }
  // Read whole with no buffer of ours, the stream comes as the file's own
  // bytes when its blocks follow each other, else as libgsf's copy, which
  // lives as long as the stream.
  const guint8* bytes = gsf_input_read(stream.get(), static_cast<size_t>(size), nullptr);
  if (bytes == nullptr) BiffDamaged();
  read(QByteArrayView(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)));
}

}  // namespace workbook
