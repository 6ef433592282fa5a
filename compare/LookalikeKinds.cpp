#include "compare/LookalikeKinds.h"

namespace compare {

std::string_view LookalikeKindName(LookalikeKind kind) {
    switch (kind) {
    case LookalikeKind::TrailingSpace:
        return "trailing-space";
    case LookalikeKind::LeadingSpace:
        return "leading-space";
    case LookalikeKind::InnerSpace:
        return "inner-space";
    case LookalikeKind::Nbsp:
        return "nbsp";
    case LookalikeKind::ZeroWidth:
        return "zero-width";
    case LookalikeKind::Case:
        return "case";
    case LookalikeKind::UnicodeForm:
        return "unicode-form";
    case LookalikeKind::Compatibility:
        return "compatibility";
    case LookalikeKind::Confusable:
        return "confusable";
    }
    return {};
}

} // namespace compare
