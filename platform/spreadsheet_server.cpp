#include "platform/spreadsheet_server.h"

#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <utility>

namespace platform {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr const char* kXlsxMimeType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
// How long a started spreadsheet program is watched for a failing exit.
constexpr int kStartWatchPollMs = 10;
constexpr int kStartWatchPolls = 100;
// Spreadsheet programs looked for on the PATH when the desktop names no default application.
constexpr const char* kKnownPrograms[] = {"libreoffice",   "localc", "soffice", "gnumeric", "onlyoffice-desktopeditors",
                                          "calligrasheets"};

// ---- Finding and starting the spreadsheet program ----

std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string dirs(path);
  size_t start = 0;
  for (;;) {
    const size_t end = dirs.find(':', start);
    // An empty entry is the current folder.
    std::string candidate = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (candidate.empty()) candidate.push_back('.');
    candidate.push_back('/');
    candidate.append(name);
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (end == std::string::npos) return std::nullopt;
    start = end + 1;
  }
}

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Whether the desktop names a default application for .xlsx files.
bool DesktopHasSpreadsheetDefault(const std::string& xdgMime) {
  const std::string command = Quoted(xdgMime) + " query default " + kXlsxMimeType + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  std::string out;
  char buf[256];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  pclose(pipe);
  return std::any_of(out.begin(), out.end(), [](unsigned char c) { return !std::isspace(c); });
}

// Starts the program detached, so that it outlives neither more nor less than it wants and leaves
// no zombie behind. False when it cannot be executed or exits with a failure at once (within
// its first second); one still running then is taken as started. Only async-signal-safe calls
// happen after the fork.
bool StartDetached(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0) _exit(1);
    if (grandchild == 0) {
      execv(args[0], args.data());
      _exit(127);
    }
    for (int i = 0; i < kStartWatchPolls; ++i) {
      int status = 0;
      if (waitpid(grandchild, &status, WNOHANG) == grandchild) {
        _exit(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1);
      }
      poll(nullptr, 0, kStartWatchPollMs);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// ---- The workbook model ----

struct Sheet {
  std::map<std::pair<int, int>, OleValue> cells;  // (row, column), both from 1
};

struct Workbook {
  std::vector<Sheet> sheets = std::vector<Sheet>(1);
};

// The length of the well-formed UTF-8 sequence at text[i], or 0 when there is none or it is
// U+FFFE or U+FFFF, which XML does not allow either.
size_t Utf8SequenceAt(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  if (b < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;   // no overlong forms
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  if (b == 0xEF && byte(i + 1) == 0xBF && byte(i + 2) >= 0xBE) return 0;
  return length;
}

// The text with every byte that is not part of well-formed UTF-8 shown as U+FFFD, as the log
// shows it: a workbook holding such a byte is no valid XML, and the spreadsheet program would
// refuse to open it.
std::string ValidUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8SequenceAt(text, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

// Writes the workbook into a new file in the temporary folder; the file's path, or nothing.
std::optional<std::string> WriteXlsx(const Workbook& book) {
  std::error_code ec;
  std::string pattern = (std::filesystem::temp_directory_path(ec) / "qvusb-export-XXXXXX.xlsx").string();
  if (ec) pattern = "/tmp/qvusb-export-XXXXXX.xlsx";
  const int fd = mkstemps(pattern.data(), 5);
  if (fd < 0) return std::nullopt;
  close(fd);
  lxw_workbook* wb = workbook_new(pattern.c_str());
  if (wb == nullptr) {
    unlink(pattern.c_str());
    return std::nullopt;
  }
  for (const Sheet& sheet : book.sheets) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    for (const auto& [at, value] : sheet.cells) {
      const lxw_row_t row = static_cast<lxw_row_t>(at.first - 1);
      const lxw_col_t col = static_cast<lxw_col_t>(at.second - 1);
      if (const auto* b = std::get_if<bool>(&value.Get())) {
        worksheet_write_boolean(ws, row, col, *b, nullptr);
      } else if (const auto* i = std::get_if<int32_t>(&value.Get())) {
        worksheet_write_number(ws, row, col, *i, nullptr);
      } else if (const auto* s = std::get_if<std::string>(&value.Get())) {
        worksheet_write_string(ws, row, col, ValidUtf8(*s).c_str(), nullptr);
      }
    }
  }
  if (workbook_close(wb) != LXW_NO_ERROR) {
    unlink(pattern.c_str());
    return std::nullopt;
  }
  return pattern;
}

// The application's state, shared by every object it handed out. When the last of them is
// released, a visible application shows its workbooks in the spreadsheet program.
struct AppState {
  std::vector<std::string> opener;
  bool visible = false;
  bool shown = false;
  std::vector<std::shared_ptr<Workbook>> books;

  ~AppState() {
    // Dropped without a Release that could report it: what fails is told on the standard error.
    try {
      ShowBooks();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "qvusb: the workbook could not be shown: %s\n", e.what());
    }
  }

  // Once, when visible: writes every workbook and opens it in the spreadsheet program.
  // AutomationError when one could not be written or the program failed.
  void ShowBooks() {
    if (!visible || shown) return;
    shown = true;
    std::string failure;
    for (const auto& book : books) {
      const auto path = WriteXlsx(*book);
      if (!path) {
        failure = "the workbook could not be written to the temporary folder";
        continue;
      }
      std::vector<std::string> argv = opener;
      argv.push_back(*path);
      if (!StartDetached(argv)) failure = opener[0] + " could not be started";
    }
    if (!failure.empty()) throw AutomationError(failure);
  }
};

bool Is(const std::string& member, const char* name) {
  return member.size() == std::char_traits<char>::length(name) &&
         std::equal(member.begin(), member.end(), name, [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

bool IsGet(InvokeKind kind) { return kind == InvokeKind::PropertyGet || kind == InvokeKind::Method; }

[[noreturn]] void Unknown(const std::string& object, const std::string& member) {
  throw AutomationError(object + " has no member \"" + member + "\" taking these arguments");
}

int32_t IntArg(const std::vector<OleValue>& args, size_t i) {
  const auto* v = i < args.size() ? std::get_if<int32_t>(&args[i].Get()) : nullptr;
  if (v == nullptr) throw AutomationError("argument " + std::to_string(i + 1) + " must be an integer");
  return *v;
}

// A 1-based index into a collection of `count`.
size_t IndexArg(const std::vector<OleValue>& args, size_t count) {
  if (args.size() != 1) throw AutomationError("Item takes one index");
  const int32_t i = IntArg(args, 0);
  if (i < 1 || static_cast<size_t>(i) > count) throw AutomationError("index " + std::to_string(i) + " out of range");
  return static_cast<size_t>(i - 1);
}

class Object : public Dispatch {
 public:
  explicit Object(std::shared_ptr<AppState> app) : app_(std::move(app)) {}

  // The application's last object released: its workbooks are shown now, and a failure is told.
  void Released() override {
    if (app_.use_count() == 1) app_->ShowBooks();
  }

 protected:
  std::shared_ptr<AppState> app_;
};

class CellObject : public Object {
 public:
  CellObject(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book, size_t sheet, int row, int col)
      : Object(std::move(app)), book_(std::move(book)), sheet_(sheet), at_(row, col) {}

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    auto& cells = book_->sheets[sheet_].cells;
    if (Is(member, "Value") && kind == InvokeKind::PropertyPut && args.size() == 1) {
      if (std::holds_alternative<std::shared_ptr<Dispatch>>(args[0].Get()))
        throw AutomationError("a cell holds no object");
      if (args[0].IsEmpty()) {
        cells.erase(at_);
      } else {
        cells[at_] = args[0];
      }
      return {};
    }
    if (Is(member, "Value") && IsGet(kind) && args.empty()) {
      auto it = cells.find(at_);
      return it == cells.end() ? OleValue() : it->second;
    }
    Unknown("A cell", member);
  }

 private:
  std::shared_ptr<Workbook> book_;
  size_t sheet_;
  std::pair<int, int> at_;
};

class CellsObject : public Object {
 public:
  CellsObject(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book, size_t sheet)
      : Object(std::move(app)), book_(std::move(book)), sheet_(sheet) {}

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    if (!Is(member, "Item") || !IsGet(kind) || args.size() != 2) Unknown("The cells", member);
    const int32_t row = IntArg(args, 0);
    int col = 0;
    if (const auto* letters = std::get_if<std::string>(&args[1].Get())) {
      col = ColumnNumber(*letters);
    } else {
      col = IntArg(args, 1);
    }
    if (row < 1 || row > kMaxRows || col < 1 || col > kMaxColumns) throw AutomationError("no such cell");
    return OleValue(std::make_shared<CellObject>(app_, book_, sheet_, row, col));
  }

 private:
  std::shared_ptr<Workbook> book_;
  size_t sheet_;
};

class SheetObject : public Object {
 public:
  SheetObject(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book, size_t sheet)
      : Object(std::move(app)), book_(std::move(book)), sheet_(sheet) {}

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    if (!Is(member, "Cells") || !IsGet(kind) || !args.empty()) Unknown("A worksheet", member);
    return OleValue(std::make_shared<CellsObject>(app_, book_, sheet_));
  }

 private:
  std::shared_ptr<Workbook> book_;
  size_t sheet_;
};

class SheetsObject : public Object {
 public:
  SheetsObject(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book)
      : Object(std::move(app)), book_(std::move(book)) {}

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    if (Is(member, "Item") && IsGet(kind)) {
      return OleValue(std::make_shared<SheetObject>(app_, book_, IndexArg(args, book_->sheets.size())));
    }
    if (Is(member, "Count") && IsGet(kind) && args.empty()) return OleValue(static_cast<int32_t>(book_->sheets.size()));
    Unknown("The worksheets", member);
  }

 private:
  std::shared_ptr<Workbook> book_;
};

class BookObject : public Object {
 public:
  BookObject(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book)
      : Object(std::move(app)), book_(std::move(book)) {}

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    if (!Is(member, "Worksheets") || !IsGet(kind) || !args.empty()) Unknown("A workbook", member);
    return OleValue(std::make_shared<SheetsObject>(app_, book_));
  }

 private:
  std::shared_ptr<Workbook> book_;
};

class BooksObject : public Object {
 public:
  using Object::Object;

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    if (Is(member, "Add") && kind == InvokeKind::Method && args.empty()) {
      app_->books.push_back(std::make_shared<Workbook>());
      return OleValue(std::make_shared<BookObject>(app_, app_->books.back()));
    }
    if (Is(member, "Item") && IsGet(kind)) {
      return OleValue(std::make_shared<BookObject>(app_, app_->books[IndexArg(args, app_->books.size())]));
    }
    if (Is(member, "Count") && IsGet(kind) && args.empty()) return OleValue(static_cast<int32_t>(app_->books.size()));
    Unknown("The workbooks", member);
  }
};

class ApplicationObject : public Object {
 public:
  using Object::Object;

  OleValue Invoke(const std::string& member, InvokeKind kind, const std::vector<OleValue>& args) override {
    if (Is(member, "Visible") && kind == InvokeKind::PropertyPut && args.size() == 1) {
      const auto* b = std::get_if<bool>(&args[0].Get());
      if (b == nullptr) throw AutomationError("Visible takes a boolean");
      app_->visible = *b;
      return {};
    }
    if (Is(member, "Visible") && IsGet(kind) && args.empty()) return OleValue(app_->visible);
    if (Is(member, "Workbooks") && IsGet(kind) && args.empty()) return OleValue(std::make_shared<BooksObject>(app_));
    Unknown("The application", member);
  }
};

}  // namespace

int ColumnNumber(const std::string& letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  int n = 0;
  for (char c : letters) {
    const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (u < 'A' || u > 'Z') return 0;
    n = n * 26 + (u - 'A' + 1);
  }
  return n;
}

std::optional<std::vector<std::string>> FindSpreadsheetProgram() {
  const auto xdgMime = FindOnPath("xdg-mime");
  const auto xdgOpen = FindOnPath("xdg-open");
  if (xdgMime && xdgOpen && DesktopHasSpreadsheetDefault(*xdgMime)) return std::vector<std::string>{*xdgOpen};
  for (const char* name : kKnownPrograms) {
    if (auto program = FindOnPath(name)) return std::vector<std::string>{*program};
  }
  return std::nullopt;
}

std::shared_ptr<Dispatch> MakeSpreadsheetApplication() {
  auto opener = FindSpreadsheetProgram();
  if (!opener) throw AutomationError("no spreadsheet program is installed");
  auto app = std::make_shared<AppState>();
  app->opener = std::move(*opener);
  return std::make_shared<ApplicationObject>(std::move(app));
}

}  // namespace platform
