#pragma once
// The current language's help library as the pages read it, and as the main window changes it.
#include <string>

namespace kavo::option {

// Text of a string number in the current language's help library; empty when it has none.
class HelpLibrary {
 public:
  virtual ~HelpLibrary() = default;
  virtual std::string Text(int stringNumber) const = 0;
};

// The language's help library: the one loaded is freed before the next is loaded.
class LanguageHelp {
 public:
  virtual ~LanguageHelp() = default;
  virtual void Load(int languageNumber) = 0;
};

}  // namespace kavo::option
