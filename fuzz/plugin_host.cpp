#include "fuzz/plugin_host.h"

#include "host/host.h"

PF_Err PluginHost::Send(PF_Cmd cmd, PF_LayerDef* output) {
  HostContextActivate(&ctx);
  ctx.in_data.sequence_data = instance;
  ctx.out_data.sequence_data = instance;
  const PF_Err e = EntryPointFunc(cmd, &ctx.in_data, &ctx.out_data,
                                  params.empty() ? nullptr : params.data(), output, nullptr);
  if (cmd == PF_Cmd_SEQUENCE_SETUP || cmd == PF_Cmd_SEQUENCE_RESETUP ||
      cmd == PF_Cmd_SEQUENCE_FLATTEN || cmd == PF_Cmd_SEQUENCE_SETDOWN)
    instance = ctx.out_data.sequence_data;
  return e;
}

bool StartPlugin(PluginHost& host) {
  HostContextInit(host.ctx);
  return host.Send(PF_Cmd_GLOBAL_SETUP) == PF_Err_NONE && host.Send(PF_Cmd_PARAMS_SETUP) == PF_Err_NONE;
}
