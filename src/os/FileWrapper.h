#pragma once

#include <memory>

#include "os/File.h"

namespace s::os {

// A File that hands every call to the file it owns; wrappers override a few.
class FileWrapper : public File {
 public:
  explicit FileWrapper(std::unique_ptr<File> target) : target_(std::move(target)) {}

  File& target() { return *target_; }

  bool read(void* buffer, std::size_t count, std::size_t& done) override {
    return target_->read(buffer, count, done);
  }
  bool write(const void* data, std::size_t count, std::size_t& done) override {
    return target_->write(data, count, done);
  }
  bool seek(std::uint64_t position) override { return target_->seek(position); }
  std::uint64_t position() const override { return target_->position(); }
  bool size(std::uint64_t& out) override { return target_->size(out); }
  bool setEndOfFile(std::uint64_t length) override { return target_->setEndOfFile(length); }
  bool setEndOfFileLazily(std::uint64_t length) override {
    return target_->setEndOfFileLazily(length);
  }
  bool flush() override { return target_->flush(); }
  bool getTimes(FileTimes& out) override { return target_->getTimes(out); }
  bool setTimes(const FileTimes& times) override { return target_->setTimes(times); }
  bool holdExclusive() override { return target_->holdExclusive(); }
  bool exclusiveBroken() override { return target_->exclusiveBroken(); }
  void releaseExclusive() override { target_->releaseExclusive(); }
  bool isUnbuffered() const override { return target_->isUnbuffered(); }
  bool close() override { return target_->close(); }

 private:
  std::unique_ptr<File> target_;
};

}  // namespace s::os
