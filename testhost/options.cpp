#include "testhost/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
bool ParseInt(const std::string& s, long lo, long hi, int& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s.c_str(), &end, 10);
  if (errno || !end || *end || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

// N or N:ERROR (the error code the failing call returns)
bool ParseFault(const std::string& s, HostFault& fault, bool sticky_allowed) {
  std::string n = s, err;
  size_t colon = s.find(':');
  if (colon != std::string::npos) {
    n = s.substr(0, colon);
    err = s.substr(colon + 1);
  }
  bool sticky = false;
  if (sticky_allowed && !n.empty() && n.back() == '+') {
    sticky = true;
    n.pop_back();
  }
  int at = 0, code = fault.error;
  if (!ParseInt(n, 1, 1000000000, at)) return false;
  if (!err.empty() && !ParseInt(err, -2147483647L, 2147483647L, code)) return false;
  if (code == 0) return false;
  fault.at = at;
  fault.sticky = sticky;
  fault.error = code;
  return true;
}

// N, A-B or a comma list of them; at most FRAME_LIST_LIMIT frames.
constexpr size_t FRAME_LIST_LIMIT = 1000001;
bool ParseFrames(const std::string& v, std::vector<int>& frames) {
  frames.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = v.find(',', start);
    const std::string item = v.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const size_t dash = item.find('-', 1);
    int a = 0, b = 0;
    const bool ok = dash == std::string::npos
                        ? ParseInt(item, 0, 1000000, a) && ParseInt(item, 0, 1000000, b)
                        : ParseInt(item.substr(0, dash), 0, 1000000, a) && ParseInt(item.substr(dash + 1), 0, 1000000, b);
    if (!ok || b < a || frames.size() + size_t(b - a) + 1 > FRAME_LIST_LIMIT) return false;
    for (int f = a; f <= b; ++f) frames.push_back(f);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool SplitAssign(const std::string& s, std::pair<std::string, std::string>& out) {
  size_t eq = s.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  out = {s.substr(0, eq), s.substr(eq + 1)};
  return true;
}
}  // namespace

std::string HostUsage(const char* program, bool module_argument) {
  std::string p = program ? program : "velarra-host";
  std::string s = "usage: " + p + " [options]" + (module_argument ? " MODULE.AEX" : "") + "\n";
  s += (module_argument ? "Loads an effect module, checks its PiPL and drives it like the host application:\n"
                        : "Drives the linked-in effect like the host application:\n");
  s +=
      "global set-up, parameter set-up, instance set-up, one render per frame, set-downs.\n"
      "\n"
      "  --list-params          print the registered parameters and stop\n"
      "  --pipl                 print the module's PiPL and stop (module host only)\n"
      "  --frames LIST          frames to render, in this order: N, A-B or a comma list\n"
      "                         of them, e.g. 0-9 or 5,3,5 (default 0)\n"
      "  --hash                 print a 64-bit hash of each frame's pixels\n"
      "  --full-replay          \"Time dependent preview\" replays every frame from rest,\n"
      "                         without checkpoints (linked-in host only)\n"
      "  --flatten-after F      after rendering frame F, flatten the instance and set it\n"
      "                         up again, as when the project is saved\n"
      "  --size WxH             output size (default 640x360, or the --input image's)\n"
      "  --depth 8|16           bits a channel of the output and layers (default 8)\n"
      "  --quality low|high     render quality (default high)\n"
      "  --fps N                frame rate (default 25)\n"
      "  --set NAME=VALUE       a parameter's value; NAME is its label or #index;\n"
      "  --set NAME=F:V,F:V...  keyframes at frames F, interpolated linearly\n"
      "                         (numbers, popup choice names, on/off, #RRGGBB or R/G/B, X/Y pixels)\n"
      "  --layer NAME=FILE      an image (or 'pattern') for a layer parameter\n"
      "  --input FILE           the input layer (default: a generated pattern)\n"
      "  --out DIR              write frames to DIR/PREFIX_NNNN.png (and .pam at 16 bits);\n"
      "                         DIR is made when missing\n"
      "  --prefix NAME          file name prefix (default: the effect's name without blanks)\n"
      "  --panel DIR            draw the effect's panel (normal, About and help hovered) to\n"
      "                         DIR/PREFIX_panel.png, _panel_about.png, _panel_help.png and stop\n"
      "  --fail-handle N[+]     the N-th host_new_handle fails (+: and every later one)\n"
      "  --fail-add-param N[:E] the N-th add_param returns error E (default 4)\n"
      "  --fail-checkout N[+][:E] the N-th checkout_param fails with E (default 4)\n"
      "  --quiet                no progress line\n"
      "  --help                 this text\n"
      "\n"
      "Exit status: 0 done; 1 bad arguments or files; 2 the module cannot be used;\n"
      "3 a command returned an error; 4 handles, checkouts or page memory left over.\n";
  return s;
}

bool ParseHostOptions(int argc, char** argv, bool module_argument, HostOptions& o, std::string& error) {
  o = HostOptions();
  std::vector<std::string> operands;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i] ? argv[i] : "";
    auto value = [&](std::string& v) -> bool {
      if (i + 1 >= argc) {
        error = "option " + a + " needs a value";
        return false;
      }
      v = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--list-params") {
      o.list_params = true;
    } else if (a == "--pipl") {
      o.pipl = true;
    } else if (a == "--quiet") {
      o.quiet = true;
    } else if (a == "--frames") {
      if (!value(v)) return false;
      if (!ParseFrames(v, o.frames)) {
        error = "--frames takes N or A-B with 0 <= A <= B <= 1000000, or a comma list of them, not '" + v + "'";
        return false;
      }
      o.first_frame = o.frames.front();
      o.last_frame = o.frames.front();
      for (int f : o.frames) {
        if (f < o.first_frame) o.first_frame = f;
        if (f > o.last_frame) o.last_frame = f;
      }
    } else if (a == "--hash") {
      o.hash = true;
    } else if (a == "--full-replay") {
      o.full_replay = true;
    } else if (a == "--flatten-after") {
      if (!value(v)) return false;
      if (!ParseInt(v, 0, 1000000, o.flatten_after)) {
        error = "--flatten-after takes a frame number 0..1000000, not '" + v + "'";
        return false;
      }
    } else if (a == "--size") {
      if (!value(v)) return false;
      size_t x = v.find('x');
      if (x == std::string::npos || !ParseInt(v.substr(0, x), 1, 16384, o.width) ||
          !ParseInt(v.substr(x + 1), 1, 16384, o.height)) {
        error = "--size takes WxH with sides 1..16384, not '" + v + "'";
        return false;
      }
      o.size_given = true;
    } else if (a == "--depth") {
      if (!value(v)) return false;
      if (v != "8" && v != "16") {
        error = "--depth takes 8 or 16, not '" + v + "'";
        return false;
      }
      o.deep = v == "16";
    } else if (a == "--quality") {
      if (!value(v)) return false;
      if (v != "low" && v != "high") {
        error = "--quality takes low or high, not '" + v + "'";
        return false;
      }
      o.high_quality = v == "high";
    } else if (a == "--fps") {
      if (!value(v)) return false;
      if (!ParseInt(v, 1, 1000, o.fps)) {
        error = "--fps takes a whole number 1..1000, not '" + v + "'";
        return false;
      }
    } else if (a == "--set" || a == "--layer") {
      if (!value(v)) return false;
      std::pair<std::string, std::string> kv;
      if (!SplitAssign(v, kv)) {
        error = a + " takes NAME=VALUE, not '" + v + "'";
        return false;
      }
      (a == "--set" ? o.sets : o.layers).push_back(kv);
    } else if (a == "--input") {
      if (!value(o.input)) return false;
    } else if (a == "--out") {
      if (!value(o.out_dir)) return false;
    } else if (a == "--panel") {
      if (!value(o.panel_dir)) return false;
      if (o.panel_dir.empty()) {
        error = "--panel takes a folder";
        return false;
      }
    } else if (a == "--prefix") {
      if (!value(o.prefix)) return false;
      if (o.prefix.empty() || o.prefix.find_first_of("/\\") != std::string::npos) {
        error = "--prefix takes a file name without separators";
        return false;
      }
    } else if (a == "--fail-handle" || a == "--fail-add-param" || a == "--fail-checkout") {
      if (!value(v)) return false;
      HostFault& f = a == "--fail-handle" ? o.fail_new_handle : a == "--fail-add-param" ? o.fail_add_param : o.fail_checkout;
      if (!ParseFault(v, f, a != "--fail-add-param")) {
        error = a + " takes a call number from 1 (" + (a == "--fail-add-param" ? "N[:ERROR]" : "N[+][:ERROR]") +
                "), not '" + v + "'";
        return false;
      }
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      error = "unknown option '" + a + "' (see --help)";
      return false;
    } else {
      operands.push_back(a);
    }
  }
  if (o.help) return true;
  if (module_argument) {
    if (operands.size() != 1) {
      error = operands.empty() ? "no module given (see --help)" : "more than one module given";
      return false;
    }
    o.module_path = operands[0];
  } else if (!operands.empty()) {
    error = "unexpected argument '" + operands[0] + "' (this host has its effect linked in)";
    return false;
  }
  return true;
}
