#include "testhost/session.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#if defined(_WIN32)
#include <io.h>
#define VELARRA_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define VELARRA_ISATTY(f) isatty(fileno(f))
#endif

#include "testhost/image_io.h"
#include "testhost/panel_render.h"
#include "testhost/param_values.h"

namespace {
constexpr A_long TIME_UNITS_PER_FRAME = 100;  // local_time_step; time_scale = fps x 100

const char* CommandName(PF_Cmd cmd) {
  switch (cmd) {
    case PF_Cmd_GLOBAL_SETUP: return "global set-up";
    case PF_Cmd_GLOBAL_SETDOWN: return "global set-down";
    case PF_Cmd_PARAMS_SETUP: return "parameter set-up";
    case PF_Cmd_SEQUENCE_SETUP: return "sequence set-up";
    case PF_Cmd_SEQUENCE_SETDOWN: return "sequence set-down";
    case PF_Cmd_SEQUENCE_FLATTEN: return "sequence flatten";
    case PF_Cmd_SEQUENCE_RESETUP: return "sequence re-set-up";
    case PF_Cmd_RENDER: return "render";
    default: return "command";
  }
}

struct Session {
  const HostEffect& effect;
  const HostOptions& options;
  FILE* err;
  HostContext ctx;
  std::vector<ParamTrack> tracks;
  HostWorld input;
  std::vector<std::unique_ptr<HostWorld>> layers;  // by params[] index (null: none)
  std::vector<PF_ParamDef> values;
  std::vector<PF_ParamDef*> pointers;
  PF_Handle instance = nullptr;

  Session(const HostEffect& e, const HostOptions& o, FILE* f) : effect(e), options(o), err(f) {}

  PF_Err Send(PF_Cmd cmd, PF_LayerDef* output) {
    ctx.in_data.sequence_data = instance;
    ctx.out_data.sequence_data = instance;
    PF_ParamDef** params = pointers.empty() ? nullptr : pointers.data();
    PF_Err e = effect.entry(cmd, &ctx.in_data, &ctx.out_data, params, output, nullptr);
    // The instance's data is what these commands leave in out_data.
    if (cmd == PF_Cmd_SEQUENCE_SETUP || cmd == PF_Cmd_SEQUENCE_RESETUP || cmd == PF_Cmd_SEQUENCE_FLATTEN ||
        cmd == PF_Cmd_SEQUENCE_SETDOWN)
      instance = ctx.out_data.sequence_data;
    if (e) std::fprintf(err, "%s: %s returned error %d\n", effect.name.c_str(), CommandName(cmd), static_cast<int>(e));
    if (ctx.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) {
      ctx.out_data.return_msg[sizeof ctx.out_data.return_msg - 1] = 0;
      std::fprintf(err, "%s: message from the effect: %s\n", effect.name.c_str(), ctx.out_data.return_msg);
      ctx.out_data.out_flags &= ~PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    }
    return e;
  }

  double FrameOf(A_long what_time, A_u_long time_scale) const {
    if (time_scale == 0) return 0;
    return double(what_time) * options.fps / double(time_scale);
  }

  // params[] and checkouts both come from here.
  PF_Err Fill(PF_ParamIndex index, double frame, PF_ParamDef& def) {
    if (index == 0) {
      std::memset(&def, 0, sizeof def);
      def.param_type = PF_Param_LAYER;
      def.u.ld = input.world;
      return PF_Err_NONE;
    }
    if (index < 0 || index > static_cast<PF_ParamIndex>(ctx.registered.size())) {
      std::memset(&def, 0, sizeof def);
      return PF_Err_INVALID_INDEX;
    }
    ParamAtFrame(ctx.registered, tracks, index, frame, input.world.width, input.world.height, def);
    if (def.param_type == PF_Param_LAYER) {
      std::memset(&def.u.ld, 0, sizeof def.u.ld);  // no layer chosen: no pixels
      if (static_cast<size_t>(index) < layers.size() && layers[index]) def.u.ld = layers[index]->world;
    }
    return PF_Err_NONE;
  }

  void BuildParams(double frame) {
    size_t n = ctx.registered.size() + 1;
    values.assign(n, PF_ParamDef());
    pointers.assign(n, nullptr);
    for (size_t i = 0; i < n; ++i) {
      Fill(static_cast<PF_ParamIndex>(i), frame, values[i]);
      pointers[i] = &values[i];
    }
  }

  bool ResolveOptions() {
    for (const auto& kv : options.sets) {
      PF_ParamIndex index = FindParam(ctx.registered, kv.first);
      if (index < 1) {
        std::fprintf(err, "no parameter '%s' (see --list-params)\n", kv.first.c_str());
        return false;
      }
      ParamTrack track;
      std::string message;
      if (!ParseParamTrack(ctx.registered, index, kv.second, track, message)) {
        std::fprintf(err, "%s\n", message.c_str());
        return false;
      }
      for (ParamTrack& t : tracks)
        if (t.index == index) t.index = -1;  // a later --set replaces an earlier one
      tracks.push_back(track);
    }
    layers.clear();
    layers.resize(ctx.registered.size() + 1);
    for (const auto& kv : options.layers) {
      PF_ParamIndex index = FindParam(ctx.registered, kv.first);
      if (index < 1 || ctx.registered[index - 1].param_type != PF_Param_LAYER) {
        std::fprintf(err, "no layer parameter '%s' (see --list-params)\n", kv.first.c_str());
        return false;
      }
      std::unique_ptr<HostWorld> w(new HostWorld);
      if (kv.second == "pattern") {
        AllocWorld(*w, 256, 256, options.deep);
        FillPattern(*w);
      } else {
        std::string message;
        if (!LoadImageWorld(kv.second, options.deep, *w, message)) {
          std::fprintf(err, "%s\n", message.c_str());
          return false;
        }
      }
      layers[index] = std::move(w);
    }
    return true;
  }

  bool WriteFrame(const HostWorld& output, int frame) {
    if (options.out_dir.empty()) return true;
    char number[16];
    std::snprintf(number, sizeof number, "%04d", frame);
    std::string prefix = options.prefix.empty() ? CompactName(effect.name) : options.prefix;
    std::string base = options.out_dir + "/" + prefix + "_" + number;
    std::string message;
    if (!WritePng(output, base + ".png", message)) {
      std::fprintf(err, "%s\n", message.c_str());
      return false;
    }
    if (options.deep) {
      int64_t clamped = 0;
      if (!WritePam16(output, base + ".pam", clamped, message)) {
        std::fprintf(err, "%s\n", message.c_str());
        return false;
      }
      if (clamped)
        std::fprintf(err, "%s: frame %d has %lld channel values above 32768 (clamped in the .pam)\n",
                     effect.name.c_str(), frame, static_cast<long long>(clamped));
    }
    return true;
  }

  int Run(FILE* out) {
    HostContextInit(ctx);
    ctx.fail_new_handle = options.fail_new_handle;
    ctx.fail_add_param = options.fail_add_param;
    ctx.fail_checkout = options.fail_checkout;
    ctx.checkout = [this](PF_ParamIndex index, A_long what_time, A_long, A_u_long time_scale, PF_ParamDef* def) {
      return Fill(index, FrameOf(what_time, time_scale), *def);
    };

    // The input layer decides the size when it is an image and no size is given.
    if (options.input == "pattern") {
      AllocWorld(input, options.width, options.height, options.deep);
      FillPattern(input);
    } else {
      std::string message;
      if (!LoadImageWorld(options.input, options.deep, input, message)) {
        std::fprintf(err, "%s\n", message.c_str());
        return HOST_EXIT_USAGE;
      }
      if (options.size_given && (input.world.width != options.width || input.world.height != options.height)) {
        std::fprintf(err, "input '%s' is %d x %d, not the --size %d x %d\n", options.input.c_str(),
                     static_cast<int>(input.world.width), static_cast<int>(input.world.height), options.width,
                     options.height);
        return HOST_EXIT_USAGE;
      }
    }
    const A_long width = input.world.width, height = input.world.height;
    PF_InData& in = ctx.in_data;
    in.width = width;
    in.height = height;
    in.extent_hint = {0, 0, width, height};
    in.quality = options.high_quality ? PF_Quality_HI : PF_Quality_LO;
    in.time_scale = static_cast<A_u_long>(options.fps) * TIME_UNITS_PER_FRAME;
    in.time_step = TIME_UNITS_PER_FRAME;
    in.local_time_step = TIME_UNITS_PER_FRAME;
    in.total_time = (options.last_frame + 1) * TIME_UNITS_PER_FRAME;

    if (!options.out_dir.empty()) {
      std::error_code ec;
      std::filesystem::create_directories(options.out_dir, ec);
      if (ec) {
        std::fprintf(err, "cannot create the folder '%s': %s\n", options.out_dir.c_str(), ec.message().c_str());
        return HOST_EXIT_USAGE;
      }
    }

    if (Send(PF_Cmd_GLOBAL_SETUP, nullptr)) return Account(HOST_EXIT_COMMAND);
    if (effect.pipl) {
      uint32_t version = 0, flags = 0;
      if (PiplLong(*effect.pipl, FourCC("eVER"), version) && version != ctx.out_data.my_version)
        std::fprintf(err, "%s: global set-up reports version 0x%X, the PiPL 0x%X\n", effect.name.c_str(),
                     static_cast<unsigned>(ctx.out_data.my_version), static_cast<unsigned>(version));
      if (PiplLong(*effect.pipl, FourCC("eGLO"), flags) && flags != static_cast<uint32_t>(ctx.out_data.out_flags))
        std::fprintf(err, "%s: global set-up reports out-flags 0x%X, the PiPL 0x%X\n", effect.name.c_str(),
                     static_cast<unsigned>(ctx.out_data.out_flags), static_cast<unsigned>(flags));
    }

    int status = HOST_EXIT_OK;
    if (Send(PF_Cmd_PARAMS_SETUP, nullptr)) {
      status = HOST_EXIT_COMMAND;
    } else if (options.list_params) {
      std::fputs(DescribeParams(ctx.registered).c_str(), out);
      std::fprintf(out, "%zu parameters registered, num_params %d\n", ctx.registered.size(),
                   static_cast<int>(ctx.out_data.num_params));
    } else if (!ResolveOptions()) {
      status = HOST_EXIT_USAGE;
    } else if (!options.panel_dir.empty()) {
      status = RenderPanel();
    } else {
      status = RenderFrames(out);
    }

    if (Send(PF_Cmd_GLOBAL_SETDOWN, nullptr) && status == HOST_EXIT_OK) status = HOST_EXIT_COMMAND;
    return Account(status);
  }

  // The panel's events need an instance, as in the host's Effect Controls.
  int RenderPanel() {
    BuildParams(options.first_frame);
    if (Send(PF_Cmd_SEQUENCE_SETUP, nullptr)) return HOST_EXIT_COMMAND;
    std::string prefix = options.prefix.empty() ? CompactName(effect.name) : options.prefix;
    int status = RenderPanelImages(effect.entry, ctx, pointers.data(), options.panel_dir, prefix, effect.name, err);
    if (Send(PF_Cmd_SEQUENCE_SETDOWN, nullptr) && status == HOST_EXIT_OK) status = HOST_EXIT_COMMAND;
    return status;
  }

  int RenderFrames(FILE* out) {
    BuildParams(options.first_frame);
    if (Send(PF_Cmd_SEQUENCE_SETUP, nullptr)) return HOST_EXIT_COMMAND;
    int status = HOST_EXIT_OK;
    std::vector<int> frames = options.frames;
    if (frames.empty())
      for (int f = options.first_frame; f <= options.last_frame; ++f) frames.push_back(f);
    const int count = static_cast<int>(frames.size());
    const bool progress = !options.quiet && count > 1;
    // On a terminal one line that updates itself; into a file a line every
    // tenth frame.
    const bool live = progress && VELARRA_ISATTY(err);
    HostWorld output;
    for (int done = 1; done <= count; ++done) {
      const int f = frames[done - 1];
      if (live)
        std::fprintf(err, "\r%s: frame %d (%d of %d)", effect.name.c_str(), f, done, count);
      else if (progress && (done % 10 == 1 || done == count))
        std::fprintf(err, "%s: frame %d (%d of %d)\n", effect.name.c_str(), f, done, count);
      ctx.in_data.current_time = f * TIME_UNITS_PER_FRAME;
      BuildParams(f);
      AllocWorld(output, input.world.width, input.world.height, options.deep);
      const int64_t open_before = ctx.checkouts_open;
      if (Send(PF_Cmd_RENDER, &output.world)) {
        status = HOST_EXIT_COMMAND;
        break;
      }
      if (ctx.checkouts_open != open_before) {
        std::fprintf(err, "%s%s: frame %d left %lld parameter checkout(s) open\n", live ? "\n" : "",
                     effect.name.c_str(), f, static_cast<long long>(ctx.checkouts_open - open_before));
        status = HOST_EXIT_LEAK;
      }
      if (options.hash)
        std::fprintf(out, "frame %d hash %016llx\n", f, static_cast<unsigned long long>(WorldHash(output)));
      if (!WriteFrame(output, f)) {
        status = HOST_EXIT_USAGE;
        break;
      }
      if (f == options.flatten_after &&
          (Send(PF_Cmd_SEQUENCE_FLATTEN, nullptr) || Send(PF_Cmd_SEQUENCE_RESETUP, nullptr))) {
        status = HOST_EXIT_COMMAND;
        break;
      }
    }
    if (live) std::fprintf(err, "\n");
    if (Send(PF_Cmd_SEQUENCE_SETDOWN, nullptr) && status == HOST_EXIT_OK) status = HOST_EXIT_COMMAND;
    return status;
  }

  // Leak accounting after the last command.
  int Account(int status) {
    for (const std::string& m : ctx.misuse_log) std::fprintf(err, "%s: misuse: %s\n", effect.name.c_str(), m.c_str());
    if (ctx.misuse && status == HOST_EXIT_OK) status = HOST_EXIT_COMMAND;
    if (!ctx.handles.empty()) {
      uint64_t bytes = 0;
      for (const HostHandle* h : ctx.handles) bytes += h->size;
      std::fprintf(err, "%s: %zu handle(s) of %llu bytes not disposed of\n", effect.name.c_str(), ctx.handles.size(),
                   static_cast<unsigned long long>(bytes));
      HostContextReleaseHandles(ctx);
      if (status == HOST_EXIT_OK) status = HOST_EXIT_LEAK;
    }
    if (effect.live_page_blocks && effect.live_page_blocks() != 0) {
      std::fprintf(err, "%s: %lld page block(s) not released\n", effect.name.c_str(),
                   static_cast<long long>(effect.live_page_blocks()));
      if (status == HOST_EXIT_OK) status = HOST_EXIT_LEAK;
    }
    HostContextActivate(nullptr);
    return status;
  }
};
}  // namespace

std::string CompactName(const std::string& name) {
  std::string s;
  for (char c : name)
    if (c != ' ' && c != '/' && c != '\\') s += c;
  return s.empty() ? "frame" : s;
}

int RunHostSession(const HostEffect& effect, const HostOptions& options, FILE* out, FILE* err) {
  std::unique_ptr<Session> s(new Session(effect, options, err));
  return s->Run(out);
}
