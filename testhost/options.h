// Command line of the test host.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "testhost/host_context.h"

struct HostOptions {
  std::string module_path;  // the .AEX to load (Windows host only)
  bool help = false;
  bool list_params = false;
  bool pipl = false;
  bool quiet = false;
  int first_frame = 0;  // the least and greatest of `frames`
  int last_frame = 0;
  // Frames in the order they are rendered (--frames 5,3,5 renders frame 5,
  // then 3, then 5 again); empty: first_frame .. last_frame.
  std::vector<int> frames;
  bool hash = false;  // print a hash of every rendered frame's pixels
  // Replays from rest without checkpoints, the reference the checkpoints
  // are measured against (linked-in host only).
  bool full_replay = false;
  // After each render of this frame the host saves the project: the
  // instance is flattened and set up again (-1: never).
  int flatten_after = -1;
  int width = 640;
  int height = 360;
  bool size_given = false;
  bool deep = false;  // 16 bits a channel
  bool high_quality = true;
  int fps = 25;
  std::vector<std::pair<std::string, std::string>> sets;    // NAME, VALUE
  std::vector<std::pair<std::string, std::string>> layers;  // NAME, FILE or "pattern"
  std::string input = "pattern";  // input layer: image file or "pattern"
  std::string out_dir;            // empty: frames are not written
  std::string prefix;             // file name prefix; default: the effect's name
  std::string panel_dir;          // not empty: draw the effect's panel there and stop
  HostFault fail_new_handle;
  HostFault fail_add_param;
  HostFault fail_checkout;
};

// module_argument: the program takes the module path as its one operand.
bool ParseHostOptions(int argc, char** argv, bool module_argument, HostOptions& options, std::string& error);
std::string HostUsage(const char* program, bool module_argument);
