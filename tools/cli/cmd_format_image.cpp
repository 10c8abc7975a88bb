// lumora-cli format-image FILE: formats a disk-image file as the Format
// command formats the card's device (FAT32, 64 KiB clusters).
#include <iostream>
#include <memory>
#include <string>

#include "library/CCardFormat.h"
#include "tools/cli/CliCommand.h"

namespace {

cli::CliCommand command("format-image",
                        "Format a disk-image file as FAT32 with 64 KiB clusters, as a card",
                        [](CLI::App& sub) -> cli::RunFn {
                          auto file = std::make_shared<std::string>();
                          sub.add_option("FILE", *file, "disk-image file")->required();
                          return [file] {
                            std::string error;
                            if (!lumora::CCardFormat::FormatImage(
                                    *file, lumora::CCardFormat::RunProcess, &error)) {
                              std::cerr << "format-image: " << error << "\n";
                              return cli::kBadInput;
                            }
                            return 0;
                          };
                        });

}  // namespace
