// The JPEG decoder (which must survive bad data) and the worker thread class.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ui/control.h"
#include "ui/thread.h"

// After <cstdio>: the header uses size_t and FILE without declaring them.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace {

// Encodes a picture with libjpeg: left half red, right half blue (or a grey ramp).
std::vector<uint8_t> EncodeJpeg(int width, int height, bool grey) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = grey ? 1 : 3;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    const auto columns = static_cast<size_t>(width);
    for (size_t x = 0; x < columns; ++x) {
      if (grey) {
        row[x] = 200;
      } else {
        const bool left = x < columns / 2;
        row[3 * x] = left ? 255 : 0;
        row[3 * x + 1] = 0;
        row[3 * x + 2] = left ? 0 : 255;
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(UiJpeg, DecodesToRgb) {
  struct Case {
    const char* what;
    bool grey;
    uint8_t left[3];
    uint8_t right[3];
  };
  const Case cases[] = {
      {"colour", false, {255, 0, 0}, {0, 0, 255}},
      {"grey comes out as RGB", true, {200, 200, 200}, {200, 200, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> jpeg = EncodeJpeg(32, 16, c.grey);
    ui::Picture picture;
    std::string error;
    ASSERT_TRUE(ui::DecodeJpeg(jpeg.data(), jpeg.size(), &picture, &error)) << error;
    ASSERT_EQ(picture.width, 32);
    ASSERT_EQ(picture.height, 16);
    ASSERT_EQ(picture.rgb.size(), 32u * 16u * 3u);
    const size_t leftPixel = size_t{8 * 32 + 4} * 3;    // row 8, column 4
    const size_t rightPixel = size_t{8 * 32 + 28} * 3;  // row 8, column 28
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(picture.rgb[leftPixel + k], c.left[k], 8) << "channel " << k;
      EXPECT_NEAR(picture.rgb[rightPixel + k], c.right[k], 8) << "channel " << k;
    }
  }
}

TEST(UiJpeg, BadDataFailsWithAReasonAndLeavesThePicture) {
  const std::vector<uint8_t> good = EncodeJpeg(16, 16, false);
  std::vector<uint8_t> corruptHeader = good;
  for (size_t i = 2; i < 40 && i < corruptHeader.size(); ++i) corruptHeader[i] = 0x5A;
  const std::vector<uint8_t> garbage(300, 0x42);
  const std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 20);
  const std::vector<uint8_t> magicOnly = {0xFF, 0xD8};

  const std::pair<const char*, const std::vector<uint8_t>*> cases[] = {
      {"garbage", &garbage},
      {"corrupt header", &corruptHeader},
      {"cut in the header", &headerOnly},
      {"only the start marker", &magicOnly},
  };
  for (const auto& [what, data] : cases) {
    SCOPED_TRACE(what);
    ui::Picture picture;
    picture.width = 1;
    picture.height = 1;
    picture.rgb = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(ui::DecodeJpeg(data->data(), data->size(), &picture, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(picture.rgb, (std::vector<uint8_t>{1, 2, 3}));
  }
  std::string error;
  ui::Picture picture;
  EXPECT_FALSE(ui::DecodeJpeg(nullptr, 0, &picture, &error));
}

// Counts passes until asked to stop; fails on request.
class Worker : public ui::Thread {
 public:
  explicit Worker(bool suspended, bool fail = false) : fail_(fail) {
    if (!suspended) Resume();
  }
  ~Worker() override {
    Terminate();
    WaitFor();
  }
  std::atomic<int> passes{0};

 protected:
  void Execute() override {
    if (fail_) throw std::runtime_error("worker failed");
    while (!Terminated()) {
      ++passes;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

 private:
  const bool fail_;
};

// Waits up to 5 s for the worker's first pass.
bool Started(const Worker& worker) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (worker.passes == 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return worker.passes > 0;
}

TEST(UiThread, SuspendedStartsOnlyOnResume) {
  Worker worker(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(worker.passes, 0);
  EXPECT_FALSE(worker.Finished());
  worker.Resume();
  worker.Resume();  // once only
  ASSERT_TRUE(Started(worker));
  worker.Terminate();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
  worker.WaitFor();  // a second wait returns at once
}

TEST(UiThread, RunningThreadStopsOnTerminate) {
  Worker worker(false);
  ASSERT_TRUE(Started(worker));
  worker.Terminate();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
}

TEST(UiThread, NeverStartedOrFailedThreadsEndCleanly) {
  {
    Worker never(true);  // nothing to wait for
    never.WaitFor();
  }
  Worker failing(false, true);  // an exception ends the thread, not the process
  failing.WaitFor();
  EXPECT_TRUE(failing.Finished());
}

// Works on a member of its own until asked to stop, and leaves the stopping to its owner.
class Counter : public ui::Thread {
 public:
  Counter() { Resume(); }
  std::vector<int> seen;
  std::atomic<bool> begun{false};

 protected:
  void Execute() override {
    begun = true;
    while (!Terminated()) {
      seen.push_back(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
};

// Ends by itself.
class OneShot : public ui::Thread {
 public:
  OneShot() { Resume(); }

 protected:
  void Execute() override {}
};

TEST(UiThreadDeathTest, DestroyingARunningThreadIsStoppedInsteadOfRacingItsMembers) {
  // Stopped by its owner first, it goes cleanly; one whose Execute has ended needs no stopping.
  auto counter = std::make_unique<Counter>();
  counter->Terminate();
  counter->WaitFor();
  counter.reset();
  auto once = std::make_unique<OneShot>();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!once->Finished() && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(once->Finished());
  once.reset();

  // Destroyed while its Execute runs: destroyed before that began, the start could only find no
  // Execute left to call.
  EXPECT_DEATH(
      {
        Counter running;
        while (!running.begun) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      },
      "destroyed while its Execute was still running");
}

}  // namespace
