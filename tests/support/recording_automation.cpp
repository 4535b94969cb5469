#include "tests/support/recording_automation.h"

namespace testing_support {

namespace {

const char* KindName(platform::InvokeKind kind) {
  switch (kind) {
    case platform::InvokeKind::Method:
      return "method";
    case platform::InvokeKind::PropertyGet:
      return "get";
    case platform::InvokeKind::PropertyPut:
      return "put";
  }
  return "?";
}

// A value as the record shows it: "true", "12", "\"A\"", "object".
std::string Describe(const platform::OleValue& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "empty"; }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
    std::string operator()(int32_t i) const { return std::to_string(i); }
    std::string operator()(const std::string& s) const { return "\"" + s + "\""; }
    std::string operator()(const std::shared_ptr<platform::Dispatch>&) const { return "object"; }
  };
  return std::visit(Visitor{}, value.Get());
}

// Every get and method call hands out a new object; it remembers the call's arguments, so that
// a value put into it can be told by cell.
class RecordingObject : public platform::Dispatch {
 public:
  RecordingObject(std::shared_ptr<RecordingSpreadsheet::State> state, std::vector<platform::OleValue> madeWith)
      : state_(std::move(state)), id_(state_->objects++), madeWith_(std::move(madeWith)) {
    ++state_->alive;
  }
  ~RecordingObject() override { --state_->alive; }

  platform::OleValue Invoke(const std::string& member, platform::InvokeKind kind,
                            const std::vector<platform::OleValue>& args) override {
    std::string call = std::to_string(id_) + "." + member + " " + KindName(kind);
    for (const auto& a : args) {
      call += ' ';
      call += Describe(a);
    }
    const size_t index = state_->calls.size();
    if (state_->failAt == index) {
      state_->calls.push_back(call + " failed");
      throw platform::AutomationError("call " + std::to_string(index) + " fails");
    }
    if (kind == platform::InvokeKind::PropertyPut) {
      if (member == "Value" && madeWith_.size() == 2 && !args.empty()) {
        const auto* row = std::get_if<int32_t>(&madeWith_[0].Get());
        const auto* column = std::get_if<std::string>(&madeWith_[1].Get());
        if (row && column) state_->cells[*column + std::to_string(*row)] = Describe(args.back());
      }
      state_->calls.push_back(call);
      return {};
    }
    auto made = std::make_shared<RecordingObject>(state_, args);
    state_->calls.push_back(call + " -> " + std::to_string(made->id_));
    return platform::OleValue(std::shared_ptr<platform::Dispatch>(std::move(made)));
  }
  void Released() override {
    const bool fails = state_->failAt == state_->calls.size();
    state_->calls.push_back(std::to_string(id_) + (fails ? " released failed" : " released"));
    if (fails) throw platform::AutomationError("the release fails");
  }

 private:
  std::shared_ptr<RecordingSpreadsheet::State> state_;
  int id_;
  std::vector<platform::OleValue> madeWith_;
};

}  // namespace

RecordingSpreadsheet::RecordingSpreadsheet() : state_(std::make_shared<State>()) {
  platform::RegisterAutomationServer("Excel.Application", [state = state_]() -> std::shared_ptr<platform::Dispatch> {
    if (state->failCreation) throw platform::AutomationError("not installed");
    ++state->created;
    return std::make_shared<RecordingObject>(state, std::vector<platform::OleValue>{});
  });
}

RecordingSpreadsheet::~RecordingSpreadsheet() { platform::RegisterAutomationServer("Excel.Application", nullptr); }

}  // namespace testing_support
