// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace komet {

// Where the motor database path is kept between runs (the registry value
// DBName of the original program).
class DbNameStore {
 public:
  virtual ~DbNameStore() = default;
  // Empty text when nothing is stored.
  virtual std::string Load() const = 0;  // UTF-8
  // Throws KometError when it cannot be stored.
  virtual void Save(const std::string& utf8) = 0;
};

class MemoryDbNameStore final : public DbNameStore {
 public:
  std::string Load() const override { return value; }
  void Save(const std::string& utf8) override { value = utf8; }
  std::string value;
};

}  // namespace komet
