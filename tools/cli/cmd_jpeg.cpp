// lumora-cli jpeg IN.jpg OUT.bmp: decodes a still with the program's own
// decoder and writes it as a 24-bit BMP.
#include "display/CJpegDecoder.h"
#include "tools/cli/CliCommand.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

void Put16(std::vector<char>& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::vector<char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

int Run(const std::string& in, const std::string& out) {
  std::ifstream file(in, std::ios::binary);
  if (!file) {
    std::cerr << "jpeg: cannot open " << in << "\n";
    return cli::kBadInput;
  }
  const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(file),
                                       std::istreambuf_iterator<char>()};
  std::string firstMessage;
  lumora::CJpegDecoder decoder([&](const std::string& m) {
    std::cerr << "jpeg: " << m << "\n";
    if (firstMessage.empty()) firstMessage = m;
  });
  if (!decoder.ReadHeader(data.data(), data.size())) return cli::kBadInput;
  const std::size_t stride = lumora::CJpegDecoder::RowStride(decoder.Width());
  const std::size_t bytes = stride * static_cast<std::size_t>(decoder.Height());
  std::vector<std::uint8_t> bits(bytes, 0);
  if (!decoder.Decode(bits.data(), bits.size())) {
    std::cerr << "jpeg: the picture data is damaged or incomplete\n";
    return cli::kBadInput;
  }
  std::vector<char> header;
  header.push_back('B');
  header.push_back('M');
  Put32(header, static_cast<std::uint32_t>(14 + 40 + bytes));
  Put32(header, 0);
  Put32(header, 14 + 40);
  Put32(header, 40);
  Put32(header, static_cast<std::uint32_t>(decoder.Width()));
  Put32(header, static_cast<std::uint32_t>(decoder.Height()));
  Put16(header, 1);
  Put16(header, 24);
  for (int i = 0; i < 6; ++i) Put32(header, 0);
  std::ofstream bmp(out, std::ios::binary);
  bmp.write(header.data(), static_cast<std::streamsize>(header.size()));
  bmp.write(reinterpret_cast<const char*>(bits.data()), static_cast<std::streamsize>(bits.size()));
  if (!bmp) {
    std::cerr << "jpeg: cannot write " << out << "\n";
    return cli::kBadInput;
  }
  return 0;
}

cli::CliCommand command("jpeg", "Decode a baseline JPEG still into a 24-bit BMP",
                        [](CLI::App& sub) -> cli::RunFn {
                          auto in = std::make_shared<std::string>();
                          auto out = std::make_shared<std::string>();
                          sub.add_option("IN", *in, "JPEG file")->required();
                          sub.add_option("OUT", *out, "BMP file to write")->required();
                          return [in, out] { return Run(*in, *out); };
                        });

}  // namespace
