#include "Game/rules/formulas/DesignerEquation.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <typeindex>
#include <utility>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Game/rules/formulas/FormulaCache.h"

namespace GAME {

namespace {
// The owner's answers on binding and slots, each question asked of it once: whether a kept text
// suits the owner and, when it does not, compiling for the owner ask the same questions.
template <class T>
class AnswersOnce : public EquationInterface<T> {
public:
    explicit AnswersOnce(EquationInterface<T>* owner) : mOwner(owner) {}

    bool GetDesignerVariable(const char* name, T& value) override {
        return mOwner && mOwner->GetDesignerVariable(name, value);
    }
    EquationBinding BindDesignerVariable(const char* name) override {
        for (const auto& [known, binding] : mBindings)
            if (known == name)
                return binding;
        const EquationBinding binding =
            mOwner ? mOwner->BindDesignerVariable(name) : EquationBinding{};
        mBindings.emplace_back(name, binding);
        return binding;
    }
    int ResolveDesignerVariable(const char* name) override {
        for (const auto& [known, slot] : mSlots)
            if (known == name)
                return slot;
        const int slot =
            mOwner ? mOwner->ResolveDesignerVariable(name) : EquationInterface<T>::kNoSlot;
        mSlots.emplace_back(name, slot);
        return slot;
    }

private:
    EquationInterface<T>* mOwner;
    std::vector<std::pair<std::string, EquationBinding>> mBindings;
    std::vector<std::pair<std::string, int>> mSlots;
};
}  // namespace

template <class T>
T DesignerEquation<T>::EqVariable::Compute(EquationInterface<T>* owner) const {
    T value{};
    if (!owner || !owner->GetDesignerVariable(mName.c_str(), value)) {
        gEngine->Log(1, "Designer variable '%s' not found in parent", mName.c_str());
        return T{};
    }
    return value;
}

template <class T>
DesignerEquation<T>::~DesignerEquation() = default;

template <class T>
const EquationProgram<T>& DesignerEquation<T>::GetProgram() const {
    static const EquationProgram<T> kNone;
    return mParsed ? mParsed->program : kNone;
}

template <class T>
bool DesignerEquation<T>::ParseEquation(const char* text, EquationInterface<T>* owner,
                                        const char* source) {
    mParsed.reset();
    mOwner = owner;
    if (!text)
        return false;
    auto& kept = Machine::Current().Get<FormulaCache<Parsed>>();
    const std::type_index grammar(typeid(*this));
    std::shared_ptr<const Parsed> parsed = kept.Find(grammar, text);
    AnswersOnce<T> answers(owner);
    if (!parsed || !ReadsByName(*parsed, &answers)) {
        std::shared_ptr<Parsed> fresh = Parse(text, &answers);
        if (!fresh)
            return false;
        if (fresh->program.IsCompiled() && fresh->program.IsOwnerFree() &&
            !kept.Find(grammar, text))
            kept.Keep(grammar, text, fresh);
        parsed = std::move(fresh);
    }
    mParsed = std::move(parsed);
    LogUnusedText(text, source, *mParsed);
    return true;
}

template <class T>
std::shared_ptr<typename DesignerEquation<T>::Parsed> DesignerEquation<T>::Parse(
    const char* text, EquationInterface<T>* owner) {
    // Only the blank is dropped; a tab stays and fails the parse.
    std::string compact;
    compact.reserve(std::strlen(text));
    for (const char* p = text; *p; ++p)
        if (*p != ' ')
            compact.push_back(*p);

    const char* cursor = compact.c_str();
    auto parsed = std::make_shared<Parsed>();
    std::string_view replaced;
    // A level that closes before any operand succeeds without a tree; as a whole formula that is
    // no formula at all.
    if (!BuildEquationTree(cursor, parsed->root, replaced) || !parsed->root)
        return nullptr;
    parsed->program.Compile(*parsed->root, owner);  // without a program the tree walks itself
    parsed->used.assign(compact.c_str(), static_cast<std::size_t>(cursor - compact.c_str()));
    parsed->rest = cursor;
    parsed->replaced = replaced;
    return parsed;
}

// The same questions, in the same order, that compiling for this owner would ask.
template <class T>
bool DesignerEquation<T>::ReadsByName(const Parsed& parsed, EquationInterface<T>* owner) {
    if (!owner)
        return true;
    for (const std::string& name : parsed.program.GetNames()) {
        if (owner->BindDesignerVariable(name.c_str()).GetKind() != EquationBinding::Kind::None)
            return false;
        if (owner->ResolveDesignerVariable(name.c_str()) != EquationInterface<T>::kNoSlot)
            return false;
    }
    return true;
}

// The formula stands as the language reads it (records rely on that); the designer learns what
// it left out.
template <class T>
void DesignerEquation<T>::LogUnusedText(const char* text, const char* source,
                                        const Parsed& parsed) {
    const char* in = source ? " in " : "";
    if (!source)
        source = "";
    const std::string& used = parsed.used;
    const std::string& rest = parsed.rest;
    const std::string& replaced = parsed.replaced;
    if (!rest.empty())
        gEngine->Log(1, "Designer formula '%s'%s%s: '%.*s' after '%.*s' is ignored", text, in,
                     source, static_cast<int>(rest.size()), rest.data(),
                     static_cast<int>(used.size()), used.data());
    if (!replaced.empty())
        gEngine->Log(1,
                     "Designer formula '%s'%s%s: '%.*s' is ignored, replaced by what follows it "
                     "without an operator",
                     text, in, source, static_cast<int>(replaced.size()), replaced.data());
}

template <class T>
bool DesignerEquation<T>::TokenizeReal(const char*& cursor, float& value) const {
    char buffer[kMaxNumberLength + 1] = {};
    int length = 0;
    // A "-" after the first character belongs to the next token: 5-3 is a subtraction.
    while (cursor[length] && IsNumeric(cursor[length]) && !(length > 0 && cursor[length] == '-')) {
        if (length == kMaxNumberLength)
            return false;
        buffer[length] = cursor[length];
        ++length;
    }
    cursor += length;
    // As atof reads it (the longest leading number, 0 for none), but with the point whatever
    // the process locale says: a formula must give the same value on every machine.
    double parsed = 0.0;
    std::from_chars(buffer, buffer + length, parsed);
    // Sixty-three digits overflow a float, where the conversion itself would be undefined:
    // rounded here as the processor rounds it (to the largest float up to half a step beyond).
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    constexpr double kOverflow = kFloatMax + 0x1p103;
    const double magnitude = parsed < 0 ? -parsed : parsed;
    float rounded = std::numeric_limits<float>::infinity();
    if (magnitude < kOverflow)
        rounded = magnitude > kFloatMax ? std::numeric_limits<float>::max()
                                        : static_cast<float>(magnitude);
    value = parsed < 0 ? -rounded : rounded;
    return true;
}

template <class T>
void DesignerEquation<T>::TokenizeString(const char*& cursor, std::string& name) const {
    name.clear();
    name.reserve(32);
    while (*cursor && IsAlphaCharacter(*cursor))
        name.push_back(*cursor++);
}

template <class T>
bool DesignerEquation<T>::BuildEquationTree(const char*& cursor,
                                            std::unique_ptr<EqOperator<T>>& out,
                                            std::string_view& replaced, int depth) {
    if (depth > kMaxNestingDepth)
        return false;
    std::unique_ptr<EqNode<T>> left;
    std::unique_ptr<EqNode<T>> right;
    std::unique_ptr<EqUnaryOperator<T>> unary;
    // The text each of them was read from.
    std::string_view leftText;
    std::string_view rightText;
    std::string_view unaryText;

    auto textFrom = [&](const char* start) {
        return std::string_view(start, static_cast<std::size_t>(cursor - start));
    };
    auto noteReplaced = [&](bool present, std::string_view text) {
        if (present && replaced.empty())
            replaced = text;
    };

    // A number, a name or a unary operator at the cursor; an operand that follows another
    // replaces it, as a second unary operator replaces the first.
    auto readOperand = [&](std::unique_ptr<EqNode<T>>& operand, std::string_view& text, char c) {
        const char* start = cursor;
        if (IsNumeric(c)) {
            float value = 0;
            if (!TokenizeReal(cursor, value))
                return false;
            noteReplaced(operand != nullptr, text);
            operand = SpawnConstant(value);
        } else if (IsAlphaCharacter(c)) {
            std::string name;
            TokenizeString(cursor, name);
            noteReplaced(operand != nullptr, text);
            operand = std::make_unique<EqVariable>(std::move(name));
        } else if (IsUnaryOperator(c)) {
            ++cursor;
            noteReplaced(unary != nullptr, unaryText);
            unary = SpawnUnaryOperator(c);
            unaryText = textFrom(start);
            return true;
        } else {
            return false;
        }
        text = textFrom(start);
        return true;
    };
    // A bracketed group at the cursor; null when it is empty.
    auto readGroup = [&](std::unique_ptr<EqNode<T>>& operand, std::string_view& text) {
        const char* start = cursor++;
        std::unique_ptr<EqOperator<T>> group;
        if (!BuildEquationTree(cursor, group, replaced, depth + 1))
            return false;
        noteReplaced(operand != nullptr, text);
        operand = std::move(group);
        text = textFrom(start);
        return true;
    };

    char c = *cursor;
    if (c == '\0')
        return false;

    while (c != '\0') {
        if (IsOperator(c))
            break;
        if (IsOpenParenthetical(c)) {
            if (!readGroup(left, leftText))
                return false;
        } else if (IsClosedParenthetical(c)) {
            ++cursor;
            if (!left)
                return true;
            std::unique_ptr<EqOperator<T>> single = SpawnOperator('1');
            if (!single)
                return false;
            if (unary)
                left->SetUnaryOperator(std::move(unary));
            single->SetLeft(std::move(left));
            out = std::move(single);
            return true;
        } else if (!readOperand(left, leftText, c)) {
            return false;
        }
        c = *cursor;
    }

    if (!left)
        return false;
    if (unary)
        left->SetUnaryOperator(std::move(unary));

    if (c == '\0') {
        std::unique_ptr<EqOperator<T>> single = SpawnOperator('1');
        if (!single)
            return false;
        single->SetLeft(std::move(left));
        out = std::move(single);
        return true;
    }

    std::unique_ptr<EqOperator<T>> op = SpawnOperator(c);
    if (!op)
        return false;
    op->SetLeft(std::move(left));
    ++cursor;
    c = *cursor;
    if (c == '\0')
        return false;

    while (c != '\0') {
        if (IsOperator(c))
            break;  // left for the enclosing level
        if (IsOpenParenthetical(c)) {
            if (!readGroup(right, rightText))
                return false;
        } else if (IsClosedParenthetical(c)) {
            ++cursor;
            break;
        } else if (!readOperand(right, rightText, c)) {
            return false;
        }
        c = *cursor;
    }

    if (!right)
        return false;
    if (unary)
        right->SetUnaryOperator(std::move(unary));
    op->SetRight(std::move(right));
    out = std::move(op);
    return true;
}

template class DesignerEquation<float>;
template class DesignerEquation<bool>;

}  // namespace GAME
