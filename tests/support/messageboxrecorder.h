#pragma once
// Records the message boxes the code under test shows and answers them.

#include <string>
#include <vector>

#include "lang/messagebox.h"

struct RecordedBox {
    std::string text;
    std::string caption;
    unsigned flags;
};

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = lang::IdOk)
        : answer_(answer), previous_(lang::setMessageBoxHook([this](std::string_view text, std::string_view caption,
                                                                    unsigned flags) {
              boxes.push_back({std::string(text), std::string(caption), flags});
              return answer_;
          }))
    {
    }
    ~MessageBoxRecorder() { lang::setMessageBoxHook(previous_); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void answerWith(int answer) { answer_ = answer; }

    std::vector<RecordedBox> boxes;

private:
    int answer_;
    lang::MessageBoxHook previous_;
};
