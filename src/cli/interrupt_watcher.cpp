#include "interrupt_watcher.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace pellora::cli {

namespace {

// The handler may only do async-signal-safe work: it writes one byte into the watcher's pipe.
std::atomic<int> g_interrupt_fd{-1};

void OnInterrupt(int) {
  const int saved = errno;
  const int fd = g_interrupt_fd.load();
  if (fd >= 0) {
    const char event = 'i';
    (void)!::write(fd, &event, 1);
  }
  errno = saved;
}

}  // namespace

InterruptWatcher::InterruptWatcher(TerminalUi& ui, std::string question, std::function<void()> stop)
    : ui_(ui), question_(std::move(question)), stop_(std::move(stop)) {
  if (::pipe2(pipe_, O_CLOEXEC) != 0) throw std::runtime_error("Ctrl-C cannot be watched: no pipe");
  g_interrupt_fd = pipe_[1];
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, &previous_);
  thread_ = std::thread([this] { Run(); });
}

InterruptWatcher::~InterruptWatcher() {
  const char quit = 'q';
  (void)!::write(pipe_[1], &quit, 1);
  thread_.join();
  ::sigaction(SIGINT, &previous_, nullptr);
  g_interrupt_fd = -1;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

char InterruptWatcher::NextEvent() {
  while (true) {
    char event = 0;
    const ssize_t n = ::read(pipe_[0], &event, 1);
    if (n == 1) return event;
    if (n < 0 && errno == EINTR) continue;
    return 'q';
  }
}

void InterruptWatcher::Run() {
  while (true) {
    if (NextEvent() == 'q') return;
    bool stop = true;
    if (ui_.Interactive()) {
      // The question gives way to the next event: another Ctrl-C means stop, the end of the watch
      // means the work finished meanwhile.
      const auto answer = ui_.AskYesNoUnlessWoken(question_, false, pipe_[0]);
      if (!answer) {
        if (NextEvent() == 'q') return;
      } else {
        stop = *answer;
      }
    }
    if (stop && !stop_requested_.exchange(true)) stop_();
  }
}

}  // namespace pellora::cli
