// The entry point's command table, with every handler replaced by a
// recorder (this program links host/entry_point.cpp alone).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"

namespace {
struct Call {
  std::string handler;
  PF_InData* in;
  PF_OutData* out;
  PF_ParamDef** params;
  PF_LayerDef* output;
  PF_EventExtra* event;
};
std::vector<Call> Calls;

PF_Err Record(const char* name, PF_Err result, PF_InData* in, PF_OutData* out, PF_ParamDef* params[],
              PF_LayerDef* output, PF_EventExtra* event = nullptr) {
  Calls.push_back({name, in, out, params, output, event});
  return result;
}
}  // namespace

// Distinct results, so that a handler's result is seen to come back unchanged.
PF_Err About(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) { return Record("About", 100, i, o, p, w); }
PF_Err GlobalSetup(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) {
  return Record("GlobalSetup", 101, i, o, p, w);
}
PF_Err GlobalSetdown(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) {
  return Record("GlobalSetdown", 103, i, o, p, w);
}
PF_Err ParamsSetup(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) {
  return Record("ParamsSetup", 104, i, o, p, w);
}
PF_Err SequenceSetup(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) {
  return Record("SequenceSetup", -108, i, o, p, w);
}
PF_Err SequenceResetup(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) {
  return Record("SequenceResetup", 106, i, o, p, w);
}
PF_Err SequenceSetdown(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) {
  return Record("SequenceSetdown", 107, i, o, p, w);
}
PF_Err Render(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w) { return Record("Render", 111, i, o, p, w); }
PF_Err HandleEvent(PF_InData* i, PF_OutData* o, PF_ParamDef* p[], PF_LayerDef* w, PF_EventExtra* e) {
  return Record("HandleEvent", 115, i, o, p, w, e);
}

namespace {
struct Args {
  PF_InData in{};
  PF_OutData out{};
  PF_ParamDef def{};
  PF_ParamDef* params[1] = {&def};
  PF_LayerDef output{};
  PF_EventExtra event{};
};

PF_Err Send(Args& a, PF_Cmd cmd) { return EntryPointFunc(cmd, &a.in, &a.out, a.params, &a.output, &a.event); }
}  // namespace

TEST(Dispatch, EveryCommandReachesItsHandlerWithItsArguments) {
  struct Row {
    PF_Cmd cmd;
    const char* handler;
    PF_Err result;
  };
  const Row table[] = {
      {PF_Cmd_ABOUT, "About", 100},
      {PF_Cmd_GLOBAL_SETUP, "GlobalSetup", 101},
      {PF_Cmd_GLOBAL_SETDOWN, "GlobalSetdown", 103},
      {PF_Cmd_PARAMS_SETUP, "ParamsSetup", 104},
      {PF_Cmd_SEQUENCE_SETUP, "SequenceSetup", -108},
      {PF_Cmd_SEQUENCE_RESETUP, "SequenceResetup", 106},
      {PF_Cmd_SEQUENCE_FLATTEN, "SequenceSetdown", 107},
      {PF_Cmd_SEQUENCE_SETDOWN, "SequenceSetdown", 107},
      {PF_Cmd_RENDER, "Render", 111},
      {PF_Cmd_EVENT, "HandleEvent", 115},
  };
  for (const Row& row : table) {
    SCOPED_TRACE("command " + std::to_string(row.cmd));
    Args a;
    Calls.clear();
    EXPECT_EQ(Send(a, row.cmd), row.result);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].handler, row.handler);
    EXPECT_EQ(Calls[0].in, &a.in);
    EXPECT_EQ(Calls[0].out, &a.out);
    EXPECT_EQ(Calls[0].params, a.params);
    EXPECT_EQ(Calls[0].output, &a.output);
    // only the event handler receives the extra record
    EXPECT_EQ(Calls[0].event, row.cmd == PF_Cmd_EVENT ? &a.event : nullptr);
  }
}

TEST(Dispatch, CommandsWithoutHandlerAnswerZeroAndTouchNothing) {
  for (PF_Cmd cmd : {2, 9, 10, 12, 13, 14, 16, 17, 100, INT_MAX, -1, -100, INT_MIN}) {
    SCOPED_TRACE("command " + std::to_string(cmd));
    Args a;
    std::memset(&a.out, 0x3C, sizeof a.out);
    PF_OutData before = a.out;
    Calls.clear();
    EXPECT_EQ(Send(a, cmd), PF_Err_NONE);
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(0, std::memcmp(&before, &a.out, sizeof before));
  }
}
