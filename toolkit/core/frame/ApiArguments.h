#pragma once
// The typed arguments of an exported call. Each argument is one row that says, once, how it
// is journalled, what the effect cannot run without (judged whether checks are on or not),
// what the checks add when the interaction asks for them, and what the effect is handed: the
// looked-up object, the list, the enumeration value. A call then reads as a declaration:
//
//   void ShellOptionsSetType(int interaction, int optionsTag, ShellType type, ResultType* result)
//   {
//       SetOption(s_ShellOptionsSetType, interaction, result, &ShellOptions::SetType,
//                 OptionsArg<ShellOptions>(optionsTag, "ShellOptionsTag"), EnumArg<ShellType>(type,
//                 "ShellType"));
//   }
//
// Every check answers ResultTypeBadArgument, so the order in which arguments are judged does
// not show in a result; a call whose check has a result of its own adds it with Checks().

#include "core/enums/EnumNames.h"
#include "core/frame/ApiCall.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"

#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace QEL {

class Feature;
class Instance;
class MappingData;
class Relation;

// What an argument leaves as it is unless it says otherwise.
struct ApiArgument {
    const char* name;

    void Journal(JournalArguments&) const {}
    void JournalOutput(JournalArguments&) const {}
    ResultType Require(Interaction*) const { return ResultTypeOk; }
    ResultType Check(Interaction*) const { return ResultTypeOk; }
};

inline ResultType RefusedUnless(bool acceptable)
{
    return acceptable ? ResultTypeOk : ResultTypeBadArgument;
}

// A plain value: journalled by write, judged by check when checks are on.
template <typename T>
struct ValueArg : ApiArgument {
    T value;
    int (JournalArguments::*write)(T, const char*);
    ResultType (*check)(T);

    void Journal(JournalArguments& journal) const { (journal.*write)(value, name); }
    ResultType Check(Interaction*) const { return check ? check(value) : ResultTypeOk; }
    T Get(Interaction*) const { return value; }
};

inline ValueArg<int> IntArg(int value, const char* name)
{
    return {{name}, value, &JournalArguments::WriteJournalArgInt, nullptr};
}

// An index the effect walks to: a negative one names nothing and is refused whether checks are
// on or not.
struct IndexArg : ValueArg<int> {
    IndexArg(int index, const char* argName)
        : ValueArg<int>{{argName}, index, &JournalArguments::WriteJournalArgInt, nullptr}
    {
    }
    ResultType Require(Interaction*) const { return RefusedUnless(value >= 0); }
};
inline ValueArg<bool> BoolArg(bool value, const char* name)
{
    return {{name}, value, &JournalArguments::WriteJournalArgBool, nullptr};
}
inline ValueArg<double> DoubleArg(double value, const char* name,
                                  ResultType (*check)(double) = nullptr)
{
    return {{name}, value, &JournalArguments::WriteJournalArgDouble, check};
}
// Greater than the linear tolerance.
inline ValueArg<double> LengthArg(double value, const char* name)
{
    return DoubleArg(value, name, CheckArgPositiveLength);
}
inline ValueArg<const char*> TextArg(const char* value, const char* name)
{
    return {{name}, value, &JournalArguments::WriteJournalArgString, nullptr};
}
// Application data, recorded as its address.
inline ValueArg<const void*> PointerArg(const void* value, const char* name)
{
    return {{name}, value, &JournalArguments::WriteJournalArgPointer, nullptr};
}

// A tag of the kernel or of the interaction, journalled under kind ("EntityTag", "BodyTag"
// ...) and judged by check when checks are on; the effect is handed the tag.
struct TagArg : ApiArgument {
    int tag;
    const char* kind;
    ResultType (*check)(int);
    ResultType (*checkIn)(int, Interaction*) = nullptr;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalTag(tag, name, kind, nullptr);
    }
    ResultType Check(Interaction* interaction) const
    {
        return check ? check(tag) : checkIn ? checkIn(tag, interaction) : ResultTypeOk;
    }
    int Get(Interaction*) const { return tag; }
};

// A tag of the interaction judged by check, the effect finding what it names itself.
inline TagArg ObjectTagArg(int tag, const char* name, ResultType (*check)(int, Interaction*),
                           const char* kind = "Tag")
{
    return {{name}, tag, kind, nullptr, check};
}

inline TagArg EntityArg(int tag, const char* name,
                        ResultType (*check)(int) = CheckArgKernelEntityTag)
{
    return {{name}, tag, "EntityTag", check};
}
inline TagArg PartitionArg(int tag, const char* name)
{
    return {{name}, tag, "PartitionTag", CheckArgPartitionTag};
}
// A tag journalled under kind and judged by check, if any.
inline TagArg AnyTagArg(int tag, const char* name, const char* kind = "Tag",
                        ResultType (*check)(int) = nullptr)
{
    return {{name}, tag, kind, check};
}

// An object of the interaction, found by find. The effect cannot run without it, so a tag that
// names none is refused whether checks are on or not. With Optional, 0 stands for none and
// hands the effect null; with CheckedOnly, an object the effect does not read is looked for
// only when checks are on.
template <typename T>
struct ObjectArg : ApiArgument {
    int tag;
    const char* kind;
    T* (*find)(Interaction*, int);
    bool optional = false;
    bool required = true;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalTag(tag, name, kind, nullptr);
    }
    ResultType Require(Interaction* interaction) const
    {
        return required ? Found(interaction) : ResultTypeOk;
    }
    ResultType Check(Interaction* interaction) const
    {
        return required ? ResultTypeOk : Found(interaction);
    }
    T* Get(Interaction* interaction) const
    {
        return optional && tag == 0 ? nullptr : find(interaction, tag);
    }

    ResultType Found(Interaction* interaction) const
    {
        return RefusedUnless((optional && tag == 0) || find(interaction, tag));
    }
    ObjectArg Optional() const
    {
        ObjectArg copy = *this;
        copy.optional = true;
        return copy;
    }
    ObjectArg CheckedOnly() const
    {
        ObjectArg copy = *this;
        copy.required = false;
        return copy;
    }
};

// Lookups by kind of object.
Instance* FindInstanceArg(Interaction* interaction, int tag);
Reference* FindReferenceArg(Interaction* interaction, int tag);
Relation* FindRelationArg(Interaction* interaction, int tag);

inline ObjectArg<Instance> InstanceArg(int tag, const char* name, const char* kind = "InstanceTag")
{
    return {{name}, tag, kind, FindInstanceArg};
}
inline ObjectArg<Reference> ReferenceArg(int tag, const char* name,
                                         const char* kind = "ReferenceTag")
{
    return {{name}, tag, kind, FindReferenceArg};
}
inline ObjectArg<Relation> RelationArg(int tag, const char* name)
{
    return {{name}, tag, "RelationTag", FindRelationArg};
}
Feature* FindFeatureArg(Interaction* interaction, int tag);
inline ObjectArg<Feature> FeatureArg(int tag, const char* name)
{
    return {{name}, tag, "FeatureTag", FindFeatureArg};
}
MappingData* FindMappingDataArg(Interaction* interaction, int tag);
inline ObjectArg<MappingData> MappingDataArg(int tag, const char* name)
{
    return {{name}, tag, "MappingDataTag", FindMappingDataArg};
}

// An object of the class, by run-time type, journalled under the class's tag kind.
template <typename T>
struct TagKindOf;
#define QEL_TAG_KIND_OF(Class)                              \
    template <>                                             \
    struct TagKindOf<Class> {                               \
        static constexpr const char* s_kind = #Class "Tag"; \
    };
QEL_MODELLING_OPTION_CLASSES(QEL_TAG_KIND_OF)
QEL_TAG_KIND_OF(MakeFeatureOptions)
QEL_TAG_KIND_OF(FacePattern)
QEL_TAG_KIND_OF(Section)
QEL_TAG_KIND_OF(VirtualVertex)
QEL_TAG_KIND_OF(FoundData)
QEL_TAG_KIND_OF(FeatureProcedureData)
#undef QEL_TAG_KIND_OF

template <typename T>
ObjectArg<T> OptionsArg(int tag, const char* name, const char* kind = TagKindOf<T>::s_kind)
{
    return {{name}, tag, kind, CastTagTo<T>};
}

// A number given for an enumeration. The application may pass any number, so it is read as
// the int it is and refused, whether checks are on or not, unless it names a value; only then
// does it become an enumeration value. The journal records the number as it was given.
//
// Where a number that names no value has a meaning of its own, the call maps it instead
// (MappedBy): checkWhenOn then judges the number when checks are on, and with checks off map
// turns a number that names nothing into a value.
template <typename E>
struct EnumArg : ApiArgument {
    int number;
    ResultType (*check)(int) = nullptr;
    E (*map)(int) = nullptr;

    EnumArg(const E& value, const char* argName) : ApiArgument{argName}, number(ReadNumber(value))
    {
    }
    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalEnumNumber<E>(number, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(map || IsNamed()); }
    ResultType Check(Interaction*) const { return check ? check(number) : ResultTypeOk; }
    E Get(Interaction*) const { return IsNamed() ? static_cast<E>(number) : map(number); }
    EnumArg MappedBy(E (*mapping)(int), ResultType (*checkWhenOn)(int) = nullptr) const
    {
        EnumArg copy = *this;
        copy.map = mapping;
        copy.check = checkWhenOn;
        return copy;
    }

    bool IsNamed() const { return *NameOfNumber(static_cast<const E*>(nullptr), number) != '\0'; }
    static int ReadNumber(const E& value)
    {
        std::underlying_type_t<E> read;
        std::memcpy(&read, &value, sizeof read);
        return static_cast<int>(read);
    }
};

// A number given for an enumeration that the effect takes as the number itself, whatever it
// is; checkWhenOn judges it when checks are on.
template <typename E>
struct EnumNumberArg : EnumArg<E> {
    EnumNumberArg(const E& value, const char* argName, ResultType (*checkWhenOn)(int))
        : EnumArg<E>(value, argName)
    {
        this->check = checkWhenOn;
    }
    ResultType Require(Interaction*) const { return ResultTypeOk; }
    int Get(Interaction*) const { return this->number; }
};

// A list of tags, journalled as a "TagArray" (or, with integers, an "IntegerArray") and
// judged by check; with NotEmpty an empty list is refused by the checks, with Required
// whether checks are on or not. The effect is handed the list.
struct TagsArg : ApiArgument {
    const Array<int>* tags;
    ResultType (*check)(const Array<int>&);
    enum class Empty { Allowed, Checked, Refused } empty = Empty::Allowed;
    enum class Form { Tags, Integers, TagPointer } form = Form::Tags;

    void Journal(JournalArguments& journal) const
    {
        if (form == Form::Integers)
            journal.WriteJournalArgIntegerArray(GetArrayVector(*tags), name);
        else if (form == Form::TagPointer)
            journal.WriteJournalArgTagArrayPointer(&GetArrayVector(*tags), name);
        else
            journal.WriteJournalArgTagArray(GetArrayVector(*tags), name);
    }
    ResultType Require(Interaction*) const
    {
        return RefusedUnless(empty != Empty::Refused || tags->GetSize() > 0);
    }
    ResultType Check(Interaction*) const
    {
        return FirstFailure({RefusedUnless(empty != Empty::Checked || tags->GetSize() > 0),
                             check ? check(*tags) : ResultTypeOk});
    }
    const std::vector<int>& Get(Interaction*) const { return GetArrayVector(*tags); }

    TagsArg NotEmpty() const { return With(Empty::Checked); }
    TagsArg Required() const { return With(Empty::Refused); }
    TagsArg With(Empty rule) const
    {
        TagsArg copy = *this;
        copy.empty = rule;
        return copy;
    }
};

inline TagsArg TagListArg(const Array<int>& tags, const char* name,
                          ResultType (*check)(const Array<int>&) = nullptr)
{
    return {{name}, &tags, check};
}
inline TagsArg FacesArg(const Array<int>& tags, const char* name)
{
    return TagListArg(tags, name, CheckArgFaceArray);
}
inline TagsArg TopologyArg(const Array<int>& tags, const char* name)
{
    return TagListArg(tags, name, CheckArgTopolArray);
}
inline TagsArg GeometryArg(const Array<int>& tags, const char* name)
{
    return TagListArg(tags, name, CheckArgGeomArray);
}
inline TagsArg IntegersArg(const Array<int>& values, const char* name)
{
    TagsArg arg{{name}, &values, nullptr};
    arg.form = TagsArg::Form::Integers;
    return arg;
}

// A list of values of another type, journalled by write and judged by check.
template <typename T>
struct ListArg : ApiArgument {
    const Array<T>* values;
    int (JournalArguments::*write)(const std::vector<T>&, const char*);
    ResultType (*check)(const Array<T>&);

    void Journal(JournalArguments& journal) const
    {
        (journal.*write)(GetArrayVector(*values), name);
    }
    ResultType Check(Interaction*) const { return check ? check(*values) : ResultTypeOk; }
    const std::vector<T>& Get(Interaction*) const { return GetArrayVector(*values); }
};

// At least one value.
ResultType CheckArgValues(const Array<double>& values);
inline ListArg<double> DoublesArg(const Array<double>& values, const char* name,
                                  ResultType (*check)(const Array<double>&) = CheckArgValues)
{
    return {{name}, &values, &JournalArguments::WriteJournalArgDoubleArray, check};
}
inline ListArg<Position> PositionsArg(const Array<Position>& values, const char* name)
{
    return {{name},
            &values,
            &JournalArguments::WriteJournalArgPositionArray,
            CheckArgPositionArrayNotEmpty};
}
inline ListArg<Double4x4> TransformsArg(const Array<Double4x4>& values, const char* name)
{
    return {{name}, &values, &JournalArguments::WriteJournalArgTransformArray, nullptr};
}

// Lists of tag lists, journalled as a "TagArrayArray"; the effect is handed copies as vectors.
struct TagListsArg : ApiArgument {
    const Array<Array<int>>* lists;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgTagArrayArray(Get(nullptr), name);
    }
    std::vector<std::vector<int>> Get(Interaction*) const
    {
        std::vector<std::vector<int>> copies;
        for (int i = 0; i < lists->GetSize(); ++i)
            copies.push_back(GetArrayVector((*lists)[i]));
        return copies;
    }
};
inline TagListsArg TagListsOf(const Array<Array<int>>& lists, const char* name)
{
    return {{name}, &lists};
}

// count doubles the effect reads through a pointer: a null pointer is refused whether checks
// are on or not, as the effect would read through it.
struct DoubleBufferArg : ApiArgument {
    const double* values;
    int count;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgDoubleBuffer(values, values ? count : 0, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(values != nullptr); }
    const double* Get(Interaction*) const { return values; }
};
inline DoubleBufferArg DoublesAt(const double* values, int count, const char* name)
{
    return {{name}, values, count};
}

// An output the effect fills: journalled after the effect by write. The effect is handed the
// place to write to.
template <typename T>
struct OutputArg : ApiArgument {
    T* place;
    void (*write)(JournalArguments&, const T&, const char*);

    void JournalOutput(JournalArguments& journal) const { write(journal, *place, name); }
    T& Get(Interaction*) const { return *place; }
};
template <typename T>
OutputArg<T> OutputOf(T& place, const char* name,
                      void (*write)(JournalArguments&, const T&, const char*))
{
    return {{name}, &place, write};
}

// How many tags a caller's output array held before the call when the call kept them as the
// array's start (it appended to them); 0 when it held none or the call replaced them.
int KeptPriorLength(const std::vector<int>& before, const std::vector<int>& after);

// A list handed back into an array the caller gives, which may already hold values: what it held
// is kept from the input side, so the output can say how much of it the call kept.
struct AppendableListArg : ApiArgument {
    Array<int>* list;
    mutable std::vector<int> before;

    void Journal(JournalArguments&) const
    {
        if (list)
            before = GetArrayVector(*list);
    }
    int KeptPrior() const { return KeptPriorLength(before, GetArrayVector(*list)); }
};

// A list of tags handed back, journalled as a "TagArray".
struct TagsOutputArg : AppendableListArg {
    void JournalOutput(JournalArguments& journal) const
    {
        journal.WriteJournalArgTagArray(GetArrayVector(*list), name, KeptPrior());
    }
    Array<int>& Get(Interaction*) const { return *list; }
};
inline TagsOutputArg TagsOutput(Array<int>& list, const char* name) { return {{{name}, &list, {}}}; }

// A list of integers handed back, journalled as an "IntegerArray".
struct IntegersOutputArg : AppendableListArg {
    void JournalOutput(JournalArguments& journal) const
    {
        journal.WriteJournalArgIntegerArray(GetArrayVector(*list), name, KeptPrior());
    }
    Array<int>& Get(Interaction*) const { return *list; }
};
inline IntegersOutputArg IntegersOutput(Array<int>& list, const char* name)
{
    return {{{name}, &list, {}}};
}

// A value handed back through a reference, or through a pointer the effect writes to: a null
// pointer is refused whether checks are on or not, and journalled as nothing.
template <typename T>
struct ValueOutputArg : ApiArgument {
    T* place;
    bool required;

    void JournalOutput(JournalArguments& journal) const
    {
        if (!place)
            return;
        if constexpr (std::is_same<T, bool>::value)
            journal.WriteJournalArgBool(*place, name);
        else
            journal.WriteJournalArgDouble(*place, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(!required || place); }
    T* Get(Interaction*) const { return place; }
};
inline ValueOutputArg<double> DoubleOutput(double& place, const char* name)
{
    return {{name}, &place, true};
}
inline ValueOutputArg<double> DoubleOutputAt(double* place, const char* name)
{
    return {{name}, place, true};
}

// A 4x4 matrix read (an input) or written (an output) through a pointer. A matrix the effect
// reads or writes is refused, whether checks are on or not, when its pointer is null; one that
// is only handed on (Optional) may be null. Journalled as a "Transform", which carries no
// direction.
struct MatrixArg : ApiArgument {
    double (*matrix)[4];
    bool output;
    bool required = true;

    void Journal(JournalArguments& journal) const
    {
        if (!output)
            journal.WriteJournalArgTransform(matrix, name);
    }
    void JournalOutput(JournalArguments& journal) const
    {
        if (output && matrix)
            journal.WriteJournalArgTransform(matrix, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(!required || matrix); }
    double (*Get(Interaction*) const)[4] { return matrix; }
    MatrixArg Optional() const
    {
        MatrixArg copy = *this;
        copy.required = false;
        return copy;
    }
};
inline MatrixArg TransformArg(const double (*matrix)[4], const char* name)
{
    return {{name}, const_cast<double(*)[4]>(matrix), false};
}
inline MatrixArg TransformOutput(double (*matrix)[4], const char* name)
{
    return {{name}, matrix, true};
}

// A place the effect writes to through a pointer: a null one is refused whether checks are on
// or not. Journalled as its address before the call and as the value it received after it,
// once written says the effect wrote it.
template <typename T>
struct PointerOutputArg : ApiArgument {
    T* place;
    const bool* written;

    void Journal(JournalArguments& journal) const { journal.WriteJournalArgPointer(place, name); }
    void JournalOutput(JournalArguments& journal) const
    {
        if (!*written)
            return;
        if constexpr (std::is_same<T, bool>::value)
            journal.WriteJournalArgBool(*place, name);
        else
            journal.WriteJournalArgDouble(*place, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(place != nullptr); }
    T* Get(Interaction*) const { return place; }
};
template <typename T>
PointerOutputArg<T> PointerOutput(T* place, const char* name, const bool& written)
{
    return {{name}, place, &written};
}

// An optional list of tags handed back: a null pointer is journalled as a null "TagArray*".
struct TagListOutputArg : AppendableListArg {
    void JournalOutput(JournalArguments& journal) const
    {
        if (!list)
            journal.WriteJournalArgTagArrayPointer(nullptr, name);
        else
            journal.WriteJournalArgTagArrayPointer(&GetArrayVector(*list), name, KeptPrior());
    }
    Array<int>* Get(Interaction*) const { return list; }
};
inline TagListOutputArg TagListOutput(Array<int>* list, const char* name)
{
    return {{{name}, list, {}}};
}

// No argument, but the call's record: the effect learns through journalled whether the call is
// being journalled (a checkpoint or a failure point needs a record to go into), and withForce
// marks the record as a forced failure.
struct JournalRecordArg : ApiArgument {
    bool* journalled;
    bool withForce;

    void Journal(JournalArguments& journal) const
    {
        if (withForce)
            journal.WriteJournalForceFailure();
        *journalled = true;
    }
    bool Get(Interaction*) const { return *journalled; }
};
inline JournalRecordArg JournalRecord(bool& journalled, bool withForce = false)
{
    journalled = false;
    return {{nullptr}, &journalled, withForce};
}

// The tag of what an effect made or found; ResultTypeFail and 0 when it is null.
template <typename T>
int TagOrFail(T* found, ResultType& status)
{
    if (!found)
        status = ResultTypeFail;
    return found ? found->GetTag() : 0;
}

// One exported call declared by its arguments. Inputs are journalled in argument order, then
// every argument's requirement and (with checks on) its check are judged in order, then the
// effect runs on what the arguments hand it: effect(interaction, result, argument values...).
template <typename Value, typename... Args>
class DeclaredCall {
public:
    DeclaredCall(const ApiCallProperties& call, int interactionTag, ResultType* result,
                 Args... args)
        : m_call(call, interactionTag, result), m_args(std::move(args)...)
    {
    }
    DeclaredCall(const ApiCallProperties& call, ResultType* result, Args... args)
        : m_call(call, result), m_args(std::move(args)...)
    {
    }

    // What the call itself adds to its arguments' requirements and checks.
    DeclaredCall& Requires(std::function<ResultType(Interaction*)> requirements)
    {
        m_requirements = std::move(requirements);
        return *this;
    }
    DeclaredCall& Checks(std::function<ResultType(Interaction*)> checks)
    {
        m_checks = std::move(checks);
        return *this;
    }
    // Outputs journalled after those of the arguments.
    DeclaredCall& Outputs(std::function<void(JournalArguments&)> outputs)
    {
        m_outputs = std::move(outputs);
        return *this;
    }
    template <typename Write>
    DeclaredCall& Returns(Write write)
    {
        m_call.Returns(std::move(write));
        return *this;
    }
    template <typename Start>
    DeclaredCall& StartsWith(Start start)
    {
        m_call.StartsWith(start);
        return *this;
    }
    // A tag returned, journalled under kind.
    DeclaredCall& ReturnsTag(const char* kind)
    {
        m_call.Returns([kind](JournalArguments& journal, int tag) {
            journal.WriteJournalTag(tag, nullptr, kind, nullptr);
        });
        return *this;
    }

    template <typename Effect>
    Value Run(Effect effect)
    {
        m_call.Inputs([this](JournalArguments& journal) {
            std::apply([&](const auto&... arg) { (arg.Journal(journal), ...); }, m_args);
        });
        m_call.Requires([this](Interaction* interaction) {
            ResultType status =
                Judge(interaction, [](const auto& arg, Interaction* i) { return arg.Require(i); });
            return status == ResultTypeOk && m_requirements ? m_requirements(interaction) : status;
        });
        m_call.Checks([this](Interaction* interaction) {
            ResultType status =
                Judge(interaction, [](const auto& arg, Interaction* i) { return arg.Check(i); });
            return status == ResultTypeOk && m_checks ? m_checks(interaction) : status;
        });
        m_call.Outputs([this](JournalArguments& journal) {
            std::apply([&](const auto&... arg) { (arg.JournalOutput(journal), ...); }, m_args);
            if (m_outputs)
                m_outputs(journal);
        });
        return m_call.Run([this, &effect](Interaction* interaction, ResultType& status) -> Value {
            return std::apply(
                [&](const auto&... arg) -> Value {
                    return effect(interaction, status, arg.Get(interaction)...);
                },
                m_args);
        });
    }

private:
    template <typename Judgement>
    ResultType Judge(Interaction* interaction, Judgement judge) const
    {
        ResultType status = ResultTypeOk;
        std::apply(
            [&](const auto&... arg) {
                ((status = status == ResultTypeOk ? judge(arg, interaction) : status), ...);
            },
            m_args);
        return status;
    }

    ApiCall<Value> m_call;
    std::tuple<Args...> m_args;
    std::function<ResultType(Interaction*)> m_requirements;
    std::function<ResultType(Interaction*)> m_checks;
    std::function<void(JournalArguments&)> m_outputs;
};

// A call on the interaction with the tag.
template <typename Value = void, typename... Args>
DeclaredCall<Value, Args...> Call(const ApiCallProperties& call, int interaction,
                                  ResultType* result, Args... args)
{
    return DeclaredCall<Value, Args...>(call, interaction, result, std::move(args)...);
}

// A process-wide call.
template <typename Value = void, typename... Args>
DeclaredCall<Value, Args...> ProcessCall(const ApiCallProperties& call, ResultType* result,
                                         Args... args)
{
    return DeclaredCall<Value, Args...>(call, result, std::move(args)...);
}

// An option setter: the setter of the options object is handed the other arguments' values.
// A setter answering false refuses the values and makes the call a bad argument; it leaves the
// object as it was.
template <typename Options, typename Setter, typename... Args>
void SetOption(const ApiCallProperties& call, int interaction, ResultType* result, Setter setter,
               ObjectArg<Options> options, Args... args)
{
    Call(call, interaction, result, std::move(options), std::move(args)...)
        .Run([setter](Interaction*, ResultType& status, Options* target, auto&&... values) {
            if constexpr (std::is_same<decltype((target->*setter)(values...)), bool>::value) {
                if (!(target->*setter)(values...))
                    status = ResultTypeBadArgument;
            } else {
                (target->*setter)(values...);
            }
        });
}

// The number of objects in one of the interaction's lists.
inline int CountCall(const ApiCallProperties& call, int interaction, ResultType* result,
                     int (Interaction::*count)() const)
{
    return Call<int>(call, interaction, result).Run([count](Interaction* target, ResultType&) {
        return (target->*count)();
    });
}

// The tag of the object at the index of one of the interaction's lists, journalled under
// kind; ResultTypeFail and 0 when the index names none.
template <typename T>
int IndexedTagCall(const ApiCallProperties& call, int interaction, int index, const char* kind,
                   T* (Interaction::*at)(int) const, ResultType* result)
{
    return Call<int>(call, interaction, result, IntArg(index, "index"))
        .ReturnsTag(kind)
        .Run([at](Interaction* target, ResultType& status, int position) {
            return TagOrFail((target->*at)(position), status);
        });
}

}  // namespace QEL
