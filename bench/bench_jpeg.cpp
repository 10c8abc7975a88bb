// lumora-bench jpeg [FILE] [--repeat N]: time of our baseline JPEG decoder
// against djpeg on the same picture (a 1920x1080 picture made with cjpeg
// when no file is given). Both times are the best CPU time of N runs.

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchCommand.h"
#include "display/CJpegDecoder.h"

namespace {

namespace fs = std::filesystem;

double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double ChildrenCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// A 1920x1080 street-like test picture: gradients and edges, as a camera
// still has, written as a PPM and compressed with cjpeg (4:2:0, quality 90).
bool MakePicture(const fs::path& jpeg) {
  const fs::path ppm = jpeg.parent_path() / "bench.ppm";
  {
    std::ofstream out(ppm, std::ios::binary);
    out << "P6\n1920 1080\n255\n";
    std::vector<unsigned char> row(1920 * 3);
    std::mt19937 rng(3);
    for (int y = 0; y < 1080; ++y) {
      for (int x = 0; x < 1920; ++x) {
        const int noise = static_cast<int>(rng() % 24);
        row[x * 3 + 0] = static_cast<unsigned char>((x * 255 / 1919 + noise) & 0xFF);
        row[x * 3 + 1] =
            static_cast<unsigned char>((y * 255 / 1079 + ((x / 64 + y / 64) % 2) * 60) & 0xFF);
        row[x * 3 + 2] = static_cast<unsigned char>(((x ^ y) & 0x7F) + noise);
      }
      out.write(reinterpret_cast<const char*>(row.data()),
                static_cast<std::streamsize>(row.size()));
    }
    if (!out) return false;
  }
  const std::string cmd =
      "cjpeg -quality 90 -outfile '" + jpeg.string() + "' '" + ppm.string() + "'";
  const int rc = std::system(cmd.c_str());
  fs::remove(ppm);
  return rc == 0;
}

double RunDjpeg(const fs::path& file) {
  const double before = ChildrenCpuMs();
  const pid_t pid = fork();
  if (pid == 0) {
    execlp("djpeg", "djpeg", "-dct", "int", "-nosmooth", "-bmp", "-outfile", "/dev/null",
           file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return -1;
  }
  return ChildrenCpuMs() - before;
}

int RunJpeg(std::string file, int repeat) {
  if (repeat < 1) {
    std::cerr << "jpeg: --repeat must be at least 1\n";
    return bench::kBadInput;
  }
  fs::path temp;
  if (file.empty()) {
    temp = fs::temp_directory_path() / ("lumora-bench-jpeg-" + std::to_string(getpid()));
    fs::create_directories(temp);
    file = (temp / "bench.jpg").string();
    if (!MakePicture(file)) {
      std::cerr << "jpeg: cannot make the test picture (is cjpeg installed?)\n";
      fs::remove_all(temp);
      return bench::kBadInput;
    }
  }
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
  int result = 0;
  double ours = std::numeric_limits<double>::max();
  double theirs = std::numeric_limits<double>::max();
  int width = 0;
  int height = 0;
  for (int i = 0; i < repeat && result == 0; ++i) {
    const double start = CpuMs();
    lumora::CJpegDecoder decoder;
    if (!decoder.ReadHeader(data.data(), data.size())) {
      std::cerr << "jpeg: our decoder refuses " << file << "\n";
      result = bench::kBadInput;
      break;
    }
    width = decoder.Width();
    height = decoder.Height();
    std::vector<std::uint8_t> bits(lumora::CJpegDecoder::RowStride(width) *
                                   static_cast<std::size_t>(height));
    if (!decoder.Decode(bits.data(), bits.size())) {
      std::cerr << "jpeg: the picture data of " << file << " is damaged\n";
      result = bench::kBadInput;
      break;
    }
    ours = std::min(ours, CpuMs() - start);
    const double d = RunDjpeg(file);
    if (d < 0) {
      std::cerr << "jpeg: djpeg failed on " << file << "\n";
      result = bench::kBadInput;
      break;
    }
    theirs = std::min(theirs, d);
  }
  if (!temp.empty()) fs::remove_all(temp);
  if (result != 0) return result;
  nlohmann::json out;
  out["file"] = file;
  out["width"] = width;
  out["height"] = height;
  out["repeat"] = repeat;
  out["ours_ms"] = ours;
  out["djpeg_ms"] = theirs;
  out["ratio"] = theirs > 0 ? ours / theirs : 0.0;
  std::cout << out.dump() << "\n";
  return 0;
}

bench::BenchCommand command("jpeg", "Our still decoder against djpeg on a 1920x1080 JPEG",
                            [](CLI::App& sub) -> bench::RunFn {
                              auto file = std::make_shared<std::string>();
                              auto repeat = std::make_shared<int>(7);
                              sub.add_option("FILE", *file,
                                             "baseline JPEG (default: made with cjpeg)");
                              sub.add_option("--repeat", *repeat, "runs; the best is reported");
                              return [file, repeat] { return RunJpeg(*file, *repeat); };
                            });

}  // namespace
