#pragma once
// The formulas a machine has parsed that do not depend on their owner, by grammar and text.
// Kept for the machine's life: records hold a bounded set of texts, and an item made again from
// its record finds its formulas here instead of parsing and compiling them again.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <utility>

namespace GAME {

template <class TParsed>
class FormulaCache {
public:
    std::shared_ptr<const TParsed> Find(std::type_index grammar, std::string_view text) const {
        auto it = mByText.find(KeyView{grammar, text});
        return it == mByText.end() ? nullptr : it->second;
    }
    void Keep(std::type_index grammar, std::string_view text,
              std::shared_ptr<const TParsed> parsed) {
        mByText.emplace(Key{grammar, std::string(text)}, std::move(parsed));
    }
    std::size_t Size() const { return mByText.size(); }

private:
    struct Key {
        std::type_index grammar;
        std::string text;
    };
    struct KeyView {
        std::type_index grammar;
        std::string_view text;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& key) const {
            return std::hash<std::string_view>{}(key.text) ^ key.grammar.hash_code();
        }
        std::size_t operator()(const Key& key) const {
            return (*this)(KeyView{key.grammar, key.text});
        }
    };
    struct Equal {
        using is_transparent = void;
        static KeyView View(const Key& key) { return {key.grammar, key.text}; }
        static const KeyView& View(const KeyView& key) { return key; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            const KeyView& left = View(a);
            const KeyView& right = View(b);
            return left.grammar == right.grammar && left.text == right.text;
        }
    };
    std::unordered_map<Key, std::shared_ptr<const TParsed>, Hash, Equal> mByText;
};

}  // namespace GAME
