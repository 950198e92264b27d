#pragma once
// The device workflow's messages: one table for the window, the command line and the
// workflow itself.

#include "lang/langtext.h"

namespace devlink::texts {

extern const lang::LangText kNoResult;  // no command has ended yet
extern const lang::LangText kNoConnection;
extern const lang::LangText kNone;
extern const lang::LangText kChecking;
extern const lang::LangText kCheckingOk;
extern const lang::LangText kCheckingError;
extern const lang::LangText kResetOk;
extern const lang::LangText kResetError;
extern const lang::LangText kReading;
extern const lang::LangText kReadError;
extern const lang::LangText kVerifying;
extern const lang::LangText kVerifyOk;
extern const lang::LangText kVerifyError;
extern const lang::LangText kNoReading;
extern const lang::LangText kProgramming;
extern const lang::LangText kProgramOk;
extern const lang::LangText kSaving;
extern const lang::LangText kUnitDisconnected;
extern const lang::LangText kProgramInterrupted;
extern const lang::LangText kProgramInterruptedSaving;
extern const lang::LangText kProgramKept;
extern const lang::LangText kProgramNotKept;
extern const lang::LangText kProgramUncheckable;
extern const lang::LangText kVersionMismatch;

}  // namespace devlink::texts
