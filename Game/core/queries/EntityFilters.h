#pragma once
// Predicates handed to the engine's object queries. Each is stateless: copies are free and one
// object may serve any number of queries.
namespace GAME {

class Entity;
class CharacterAction;

template <class T>
class FilterFunction {
public:
    FilterFunction() = default;
    FilterFunction(const FilterFunction&) = default;
    FilterFunction& operator=(const FilterFunction&) = default;
    virtual ~FilterFunction() = default;
    virtual bool operator()(const T* candidate) const = 0;
};

// The action filters accept every action: the query's own kind already chose them.
class FilterCharacterAction : public FilterFunction<CharacterAction> {
public:
    bool operator()(const CharacterAction*) const override { return true; }
};
class FilterMountAction : public FilterFunction<CharacterAction> {
public:
    bool operator()(const CharacterAction*) const override { return true; }
};
class FilterMountedCharacterAction : public FilterFunction<CharacterAction> {
public:
    bool operator()(const CharacterAction*) const override { return true; }
};

// Players, whatever their own class below Player.
class FilterGetAllPlayers : public FilterFunction<Entity> {
public:
    bool operator()(const Entity* entity) const override;
};
class FilterGetAllTrafficNodes : public FilterFunction<Entity> {
public:
    bool operator()(const Entity* entity) const override;
};
class FilterGetPlayerSpawnPoint : public FilterFunction<Entity> {
public:
    bool operator()(const Entity* entity) const override;
};
// What a server sends its clients when they join: the entity decides.
class FilterGetSpawnObjects : public FilterFunction<Entity> {
public:
    bool operator()(const Entity* entity) const override;
};

}  // namespace GAME
