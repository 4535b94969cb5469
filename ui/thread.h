// A worker thread: created suspended, Resume() starts it (once the derived object is complete),
// Execute() does the work, Terminate() only asks it to stop, WaitFor() waits for the end.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace ui {

class Thread {
 public:
  Thread();
  // Execute must have ended before the derived part goes, since it works on the derived
  // members: the owner calls Terminate() and WaitFor() before deleting the thread (or the derived
  // destructor does). Destroying a thread whose Execute may still run is a programming error
  // that ends the program with a message, instead of running on in a half-destroyed object.
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts the thread; once only.
  void Resume();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until Execute has returned. A thread that was never started
  // has nothing to wait for. An exception escaping Execute ends the thread (it is reported on
  // stderr). The wait goes through the wait hook, so that on the user-interface thread the
  // windows repaint meanwhile, as in any other wait.
  void WaitFor();
  bool Finished() const { return finished_; }

 protected:
  virtual void Execute() = 0;

 private:
  std::thread thread_;
  std::mutex joinMutex_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> started_{false};
  // Readable once Execute has returned; -1 when none could be had (WaitFor then joins plainly).
  int endFd_;
};

}  // namespace ui
