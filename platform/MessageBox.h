#pragma once
// Message boxes through a replaceable sink. The headless sink records every
// text and answers from a queue that a test fills; an empty queue answers the
// box's default button.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

// Button sets and icons (values as the framework's).
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONHAND = 0x0010;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x0040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x0000;
constexpr UINT MB_DEFBUTTON2 = 0x0100;
constexpr UINT MB_DEFBUTTON3 = 0x0200;

// Dialog results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a message box and returns the button pressed.
int AfxMessageBox(std::string_view text, UINT type = MB_OK, UINT helpId = 0);

namespace platform {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual int Show(std::string_view text, UINT type) = 0;
};

// The button a box answers when nobody presses one.
[[nodiscard]] int DefaultButton(UINT type);

// Installs a sink (not owned); nullptr restores the default one, which writes
// the text to standard error and answers the default button.
void SetMessageSink(MessageSink* sink);
[[nodiscard]] MessageSink& CurrentMessageSink();

class RecordingMessageSink : public MessageSink {
 public:
  struct Shown {
    std::string text;
    UINT type = 0;
    int answer = 0;
  };

  int Show(std::string_view text, UINT type) override;
  // Answers for the next boxes, in order.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  [[nodiscard]] const std::vector<Shown>& AllShown() const { return shown_; }
  [[nodiscard]] std::vector<std::string> Texts() const;
  [[nodiscard]] bool Empty() const { return shown_.empty(); }
  void Clear() { shown_.clear(); answers_.clear(); }

 private:
  std::vector<Shown> shown_;
  std::deque<int> answers_;
};

// Installs a recording sink for its lifetime and restores the previous one.
class ScopedRecordingSink : public RecordingMessageSink {
 public:
  ScopedRecordingSink();
  ~ScopedRecordingSink() override;

 private:
  MessageSink* previous_;
};

// While one lives, the message boxes of this thread (and only of this thread)
// are recorded in it instead of shown: work on a worker thread shows nothing,
// and the thread that owns the screen tells the texts afterwards.
class ScopedThreadMessageCapture : public RecordingMessageSink {
 public:
  ScopedThreadMessageCapture();
  ~ScopedThreadMessageCapture() override;

 private:
  MessageSink* previous_;
};

}  // namespace platform
