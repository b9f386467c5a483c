// Runs an operation once cleanly to count its requests, then once per
// request with a fault injected there, checking the outcome every time.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "core/interaction.h"
#include "reliability/pc_disk_full.h"
#include "support/scripted_interaction.h"
#include "core/errno_map.h"
#include "core/error_text.h"

namespace kelvo::test {

// How a failure reaches the user.
enum class Reporting {
  Returned,  // returned, not shown: the calling command shows it once
  Shown,     // shown by the operation itself, then returned
};

// One trial: `position` 0 is the clean run; `persistent` keeps failing from
// the position on.
struct Trial {
  std::uint64_t position = 0;
  bool persistent = false;
  std::string Where() const {
    return "fault at request " + std::to_string(position) + (persistent ? " and after" : "");
  }
};

template <typename Bench>
struct FaultedOperation {
  std::string name;
  // Whether the command that started the operation shows the code it
  // returned (unset: always, as for Reporting::Returned).
  std::function<bool(Bench&, ErrorCode)> caller_shows;
  ErrorCode fault = ERR_CRC;
  // Arms the fault for a trial (nothing for position 0).
  std::function<void(Bench&, const Trial&)> arm;
  std::function<ErrorCode(Bench&)> run;
  // Requests the run made (read right after it).
  std::function<std::uint64_t(Bench&)> requests;
  // Ends the fault after the run, before the checks (optional).
  std::function<void(Bench&)> disarm;
  // Whether the operation's whole result is in place (checked on success).
  std::function<::testing::AssertionResult(Bench&)> complete;
  // What must hold whatever happened.
  std::function<::testing::AssertionResult(Bench&)> sound;
  // Also try each position with the fault persisting.
  bool persistent_too = true;
};

// Error messages shown with the text of `code`.
inline int TimesShown(const ScriptedInteraction& ui, ErrorCode code) {
  const std::string text = GetErrorText(code);
  int n = 0;
  for (const AskCall& a : ui.asks) n += a.text == text ? 1 : 0;
  return n;
}

inline int ErrorsShown(const ScriptedInteraction& ui) {
  int n = 0;
  for (const AskCall& a : ui.asks) n += (a.icon == Icon::Error || a.icon == Icon::Exclamation) ? 1 : 0;
  return n;
}

// Checks one finished trial.
template <typename Bench>
void CheckTrial(const FaultedOperation<Bench>& op, Bench& b, const ScriptedInteraction& ui,
                ErrorCode rc, const Trial& t) {
  SCOPED_TRACE(op.name + ", " + t.Where() + ", result " + std::to_string(rc));
  EXPECT_TRUE(op.sound(b));
  if (rc == ERR_OK) {
    // A fault the operation got over (a retry, a final unlock) is fine only
    // when the result is really all there; otherwise it was a failure
    // reported as success, unless it was shown.
    if (ErrorsShown(ui) == 0) {
      EXPECT_TRUE(op.complete(b));
    }
    EXPECT_LE(TimesShown(ui, op.fault), 1);
    return;
  }
  // The code returned reaches the user exactly once, counting the message
  // the calling command shows for a code it has to show.
  const bool by_caller = !op.caller_shows || op.caller_shows(b, rc);
  EXPECT_EQ(TimesShown(ui, rc) + (by_caller ? 1 : 0), 1)
      << "shown " << TimesShown(ui, rc) << " time(s) by the operation"
      << (by_caller ? ", and once more by its caller" : "");
}

// Tries every position; returns how many trials ran (printed as well).
template <typename Bench>
std::uint64_t TryEveryPosition(const FaultedOperation<Bench>& op) {
  std::uint64_t requests = 0;
  {
    Bench clean;
    const Trial none;
    op.arm(clean, none);
    const ErrorCode rc = op.run(clean);
    requests = op.requests(clean);
    if (op.disarm) op.disarm(clean);
    EXPECT_EQ(rc, ERR_OK) << op.name << " fails without a fault";
    EXPECT_TRUE(op.complete(clean)) << op.name;
    EXPECT_TRUE(op.sound(clean)) << op.name;
  }
  EXPECT_GT(requests, 0u) << op.name;
  std::uint64_t tried = 0;
  for (bool persistent : {false, true}) {
    if (persistent && !op.persistent_too) break;
    for (std::uint64_t n = 1; n <= requests; ++n) {
      Bench b;
      const Trial t{n, persistent};
      op.arm(b, t);
      const ErrorCode rc = op.run(b);
      if (op.disarm) op.disarm(b);
      CheckTrial(op, b, b.ui, rc, t);
      ++tried;
      if (::testing::Test::HasFatalFailure()) return tried;
    }
  }
  std::printf("[ positions ] %s: %llu requests, %llu fault positions tried\n", op.name.c_str(),
              static_cast<unsigned long long>(requests), static_cast<unsigned long long>(tried));
  std::fflush(stdout);
  return tried;
}

// Makes `op` run on a PC disk that fills up at each write in turn.
template <typename Bench>
void ArmFullPcDisk(FaultedOperation<Bench>& op) {
  op.fault = MapErrno(ENOSPC, IoContext::Write);
  op.arm = [](Bench&, const Trial& t) { PcDiskFull::FillAtWrite(t.position); };
  op.requests = [](Bench&) { return PcDiskFull::Writes(); };
  op.disarm = [](Bench&) { PcDiskFull::Reset(); };
  // A full disk stays full.
  op.persistent_too = false;
}

}  // namespace kelvo::test
