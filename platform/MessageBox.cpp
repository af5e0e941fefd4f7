#include "platform/MessageBox.h"

#include <cstdio>

namespace platform {

namespace {

class StderrMessageSink : public MessageSink {
 public:
  int Show(std::string_view text, UINT type) override {
    std::fprintf(stderr, "QOVA: %.*s\n", int(text.size()), text.data());
    return DefaultButton(type);
  }
};

MessageSink* g_sink = nullptr;
thread_local MessageSink* t_sink = nullptr;

MessageSink& DefaultSink() {
  static StderrMessageSink sink;
  return sink;
}

constexpr UINT kButtonMask = 0x000F;
constexpr UINT kDefaultButtonMask = 0x0F00;
constexpr UINT kAbortRetryIgnore = 0x0002;
constexpr UINT kRetryCancel = 0x0005;

}  // namespace

int DefaultButton(UINT type) {
  unsigned which = (type & kDefaultButtonMask) >> 8;
  auto pick = [which](std::initializer_list<int> buttons) {
    return which < buttons.size() ? *(buttons.begin() + which) : *buttons.begin();
  };
  switch (type & kButtonMask) {
    case MB_OKCANCEL: return pick({IDOK, IDCANCEL});
    case kAbortRetryIgnore: return pick({IDABORT, IDRETRY, IDIGNORE});
    case MB_YESNOCANCEL: return pick({IDYES, IDNO, IDCANCEL});
    case MB_YESNO: return pick({IDYES, IDNO});
    case kRetryCancel: return pick({IDRETRY, IDCANCEL});
    default: return IDOK;
  }
}

void SetMessageSink(MessageSink* sink) { g_sink = sink; }

MessageSink& CurrentMessageSink() {
  if (t_sink != nullptr) return *t_sink;
  return g_sink ? *g_sink : DefaultSink();
}

int RecordingMessageSink::Show(std::string_view text, UINT type) {
  int answer = DefaultButton(type);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  shown_.push_back({std::string(text), type, answer});
  return answer;
}

std::vector<std::string> RecordingMessageSink::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(shown_.size());
  for (const Shown& s : shown_) texts.push_back(s.text);
  return texts;
}

ScopedRecordingSink::ScopedRecordingSink() : previous_(g_sink) { SetMessageSink(this); }

ScopedRecordingSink::~ScopedRecordingSink() { SetMessageSink(previous_); }

ScopedThreadMessageCapture::ScopedThreadMessageCapture() : previous_(t_sink) { t_sink = this; }

ScopedThreadMessageCapture::~ScopedThreadMessageCapture() { t_sink = previous_; }

}  // namespace platform

int AfxMessageBox(std::string_view text, UINT type, UINT /*helpId*/) {
  return platform::CurrentMessageSink().Show(text, type);
}
