// Attribute definitions, attributes and their fields.
#include "EntityOps.h"

#include <cstring>

using namespace brennik;

namespace {

const AttdefRecord* FindAttdef(int tag) {
  auto& defs = CurrentSession()->attdefs;
  auto it = defs.find(tag);
  return it == defs.end() ? nullptr : &it->second;
}

int ResolveAttdef(int tag, AttdefRecord** def) {
  auto& defs = CurrentSession()->attdefs;
  auto it = defs.find(tag);
  if (it == defs.end()) return Locate(tag).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
  *def = &it->second;
  return 0;
}

int ResolveAttrib(int tag, Located* where) { return ResolveClass(tag, BQ_CLASS_attrib, where); }

// Resolves a field of an attribute by index and type; `change` gives the writable record.
int ResolveField(int attrib, int field, int type, Located* where, const AttribField** out) {
  if (int code = ResolveAttrib(attrib, where)) return code;
  const AttribRecord& record = where->partition->state.attribs.at(attrib);
  if (field < 0 || field >= static_cast<int>(record.fields.size())) return BQ_ERROR_bad_field;
  if (record.fields[field].type != type) return BQ_ERROR_bad_field;
  *out = &record.fields[field];
  return 0;
}

AttribField& WritableField(Located& where, int attrib, int field) {
  return where.partition->Change().attribs.at(attrib).fields[field];
}

int FieldByName(int attrib, const char* name, int type, Located* where, int* field) {
  if (!name) return BQ_ERROR_null_arg;
  if (int code = ResolveAttrib(attrib, where)) return code;
  const AttribRecord& record = where->partition->state.attribs.at(attrib);
  const AttdefRecord* def = FindAttdef(record.attdef);
  if (!def) return BQ_ERROR_bad_tag;
  for (std::size_t i = 0; i < def->fieldNames.size(); ++i) {
    if (def->fieldNames[i] == name) {
      if (def->fieldTypes[i] != type) return BQ_ERROR_bad_field;
      *field = static_cast<int>(i);
      return 0;
    }
  }
  return BQ_ERROR_bad_name;
}

template <class T>
using ArrayField = std::vector<T> AttribField::*;

// One shape for setting an array field (ints, reals) by index.
template <class T>
int SetArray(const char* function, int attrib, int field, int type, ArrayField<T> member, int n, const T* values) {
  return KernelRun(function, [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !values) return BQ_ERROR_null_arg;
    Located where;
    const AttribField* f = nullptr;
    if (int code = ResolveField(attrib, field, type, &where, &f)) return code;
    (WritableField(where, attrib, field).*member).assign(values, values + n);
    return 0;
  });
}

// One shape for asking an array field (ints, reals) by index.
template <class T>
int AskArray(const char* function, int attrib, int field, int type, ArrayField<T> member, int* n, T** values) {
  if (n) *n = 0;
  if (values) *values = nullptr;
  return KernelRun(function, [&]() -> int {
    if (!n || !values) return BQ_ERROR_null_arg;
    Located where;
    const AttribField* f = nullptr;
    if (int code = ResolveField(attrib, field, type, &where, &f)) return code;
    OutArray(f->*member, n, values);
    return 0;
  });
}

}  // namespace

int BQ_ATTDEF_find(const char* name, int* attdef) {
  return KernelRun("BQ_ATTDEF_find", [&]() -> int {
    if (!name || !attdef) return BQ_ERROR_null_arg;
    if (!*name) return BQ_ERROR_bad_name;
    *attdef = 0;
    for (const auto& def : CurrentSession()->attdefs)
      if (def.second.name == name) *attdef = def.first;
    return 0;
  });
}

int BQ_ATTDEF_create_2(const BQ_ATTDEF_sf_t* form, int* attdef) {
  return KernelRun("BQ_ATTDEF_create_2", [&]() -> int {
    if (!form || !attdef || !form->name) return BQ_ERROR_null_arg;
    if (!*form->name) return BQ_ERROR_bad_name;
    if (form->n_owner_types < 0 || form->n_fields < 0) return BQ_ERROR_bad_count;
    if ((form->n_owner_types > 0 && !form->owner_types) ||
        (form->n_fields > 0 && (!form->field_types || !form->field_names)))
      return BQ_ERROR_null_arg;
    Session* s = CurrentSession();
    for (const auto& def : s->attdefs)
      if (def.second.name == form->name) return BQ_ERROR_bad_name;
    AttdefRecord def;
    def.name = form->name;
    def.attdefClass = form->attdef_class;
    def.ownerTypes.assign(form->owner_types, form->owner_types + form->n_owner_types);
    for (int i = 0; i < form->n_fields; ++i) {
      int type = form->field_types[i];
      if (type != BQ_FIELD_type_int && type != BQ_FIELD_type_real && type != BQ_FIELD_type_string &&
          type != BQ_FIELD_type_pointer)
        return BQ_ERROR_bad_field;
      def.fieldTypes.push_back(type);
      def.fieldNames.emplace_back(form->field_names[i] ? form->field_names[i] : "");
    }
    *attdef = s->NewTag();
    s->attdefs[*attdef] = def;
    return 0;
  });
}

int BQ_ATTDEF_ask_name(int attdef, const char** name) {
  return KernelRun("BQ_ATTDEF_ask_name", [&]() -> int {
    if (!name) return BQ_ERROR_null_arg;
    AttdefRecord* def = nullptr;
    if (int code = ResolveAttdef(attdef, &def)) return code;
    *name = def->name.c_str();
    return 0;
  });
}

int BQ_ATTDEF_register_cb(int attdef, const BQ_ATTDEF_callback_fns_t* fns) {
  return KernelRun("BQ_ATTDEF_register_cb", [&]() -> int {
    if (!fns) return BQ_ERROR_null_arg;
    AttdefRecord* def = nullptr;
    if (int code = ResolveAttdef(attdef, &def)) return code;
    def->callbacks = *fns;
    return 0;
  });
}

int BQ_ATTDEF_set_callback_flags(int attdef, const BQ_ATTDEF_callback_flags_t* flags) {
  return KernelRun("BQ_ATTDEF_set_callback_flags", [&]() -> int {
    if (!flags) return BQ_ERROR_null_arg;
    AttdefRecord* def = nullptr;
    if (int code = ResolveAttdef(attdef, &def)) return code;
    def->flags = *flags;
    return 0;
  });
}

int BQ_ATTDEF_ask_callback_flags(int attdef, BQ_ATTDEF_callback_flags_t* flags) {
  return KernelRun("BQ_ATTDEF_ask_callback_flags", [&]() -> int {
    if (!flags) return BQ_ERROR_null_arg;
    AttdefRecord* def = nullptr;
    if (int code = ResolveAttdef(attdef, &def)) return code;
    *flags = def->flags;
    return 0;
  });
}

int BQ_ATTRIB_create_empty(int owner, int attdef, int* attrib) {
  return KernelRun("BQ_ATTRIB_create_empty", [&]() -> int {
    if (!attrib) return BQ_ERROR_null_arg;
    AttdefRecord* def = nullptr;
    if (int code = ResolveAttdef(attdef, &def)) return code;
    Located where;
    if (int code = Resolve(owner, &where)) return code;
    if (where.kind == Kind::Attdef || where.kind == Kind::PMark || where.kind == Kind::Partition ||
        where.kind == Kind::Attrib)
      return BQ_ERROR_bad_owner;
    int cls = ClassOf(where);
    bool allowed = false;
    for (int type : def->ownerTypes) allowed = allowed || IsSubclass(cls, type);
    if (!allowed) return BQ_ERROR_bad_owner;
    AttribRecord record;
    record.attdef = attdef;
    record.owner = owner;
    for (int type : def->fieldTypes) {
      AttribField field;
      field.type = type;
      record.fields.push_back(field);
    }
    int tag = CurrentSession()->NewTag();
    PartitionState& st = where.partition->Change();
    st.attribs[tag] = record;
    st.attribsOf[owner].push_back(tag);
    *attrib = tag;
    return 0;
  });
}

int BQ_ATTRIB_ask_attdef(int attrib, int* attdef) {
  return KernelRun("BQ_ATTRIB_ask_attdef", [&]() -> int {
    if (!attdef) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveAttrib(attrib, &where)) return code;
    *attdef = where.partition->state.attribs.at(attrib).attdef;
    return 0;
  });
}

int BQ_ATTRIB_ask_owner(int attrib, int* owner) {
  return KernelRun("BQ_ATTRIB_ask_owner", [&]() -> int {
    if (!owner) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveAttrib(attrib, &where)) return code;
    *owner = where.partition->state.attribs.at(attrib).owner;
    return 0;
  });
}

int BQ_ATTRIB_set_ints(int attrib, int field, int n, const int* values) {
  return SetArray("BQ_ATTRIB_set_ints", attrib, field, BQ_FIELD_type_int, &AttribField::ints, n, values);
}

int BQ_ATTRIB_ask_ints(int attrib, int field, int* n, int** values) {
  return AskArray("BQ_ATTRIB_ask_ints", attrib, field, BQ_FIELD_type_int, &AttribField::ints, n, values);
}

int BQ_ATTRIB_ask_nth_int(int attrib, int field, int n, int* value) {
  return KernelRun("BQ_ATTRIB_ask_nth_int", [&]() -> int {
    if (!value) return BQ_ERROR_null_arg;
    Located where;
    const AttribField* f = nullptr;
    if (int code = ResolveField(attrib, field, BQ_FIELD_type_int, &where, &f)) return code;
    if (n < 0 || n >= static_cast<int>(f->ints.size())) return BQ_ERROR_bad_value;
    *value = f->ints[n];
    return 0;
  });
}

int BQ_ATTRIB_set_doubles(int attrib, int field, int n, const double* values) {
  return SetArray("BQ_ATTRIB_set_doubles", attrib, field, BQ_FIELD_type_real, &AttribField::reals, n, values);
}

int BQ_ATTRIB_ask_doubles(int attrib, int field, int* n, double** values) {
  return AskArray("BQ_ATTRIB_ask_doubles", attrib, field, BQ_FIELD_type_real, &AttribField::reals, n, values);
}

int BQ_ATTRIB_set_string(int attrib, int field, const char* text) {
  return KernelRun("BQ_ATTRIB_set_string", [&]() -> int {
    if (!text) return BQ_ERROR_null_arg;
    Located where;
    const AttribField* f = nullptr;
    if (int code = ResolveField(attrib, field, BQ_FIELD_type_string, &where, &f)) return code;
    WritableField(where, attrib, field).text = text;
    return 0;
  });
}

int BQ_ATTRIB_ask_string(int attrib, int field, char** text) {
  if (text) *text = nullptr;
  return KernelRun("BQ_ATTRIB_ask_string", [&]() -> int {
    if (!text) return BQ_ERROR_null_arg;
    Located where;
    const AttribField* f = nullptr;
    if (int code = ResolveField(attrib, field, BQ_FIELD_type_string, &where, &f)) return code;
    std::vector<char> chars(f->text.begin(), f->text.end());
    chars.push_back('\0');
    *text = KernelArray(chars);
    return 0;
  });
}

int BQ_ATTRIB_set_named_pointers(int attrib, const char* field_name, int n, void* const* pointers) {
  return KernelRun("BQ_ATTRIB_set_named_pointers", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !pointers) return BQ_ERROR_null_arg;
    Located where;
    int field = 0;
    if (int code = FieldByName(attrib, field_name, BQ_FIELD_type_pointer, &where, &field)) return code;
    WritableField(where, attrib, field).pointers.assign(pointers, pointers + n);
    return 0;
  });
}

int BQ_ATTRIB_ask_named_pointers(int attrib, const char* field_name, int* n, void*** pointers) {
  if (n) *n = 0;
  if (pointers) *pointers = nullptr;
  return KernelRun("BQ_ATTRIB_ask_named_pointers", [&]() -> int {
    if (!n || !pointers) return BQ_ERROR_null_arg;
    Located where;
    int field = 0;
    if (int code = FieldByName(attrib, field_name, BQ_FIELD_type_pointer, &where, &field)) return code;
    OutArray(where.partition->state.attribs.at(attrib).fields[field].pointers, n, pointers);
    return 0;
  });
}

namespace {
// Every attribute owner that belongs to a part: the body, its topology, its groups, its
// attached geometry.
std::vector<int> OwnersOfPart(const Located& part) {
  const BodyRecord& body = *part.body;
  std::vector<int> owners{body.tag};
  for (const std::vector<int>* list : {&body.faces, &body.edges, &body.vertices})
    owners.insert(owners.end(), list->begin(), list->end());
  for (const auto& g : part.partition->state.groups)
    if (g.second.part == body.tag) owners.push_back(g.first);
  owners.insert(owners.end(), body.attachedGeoms.begin(), body.attachedGeoms.end());
  return owners;
}
}  // namespace

int BQ_ENTITY_ask_attribs(int entity, int attdef, int* n, int** attribs) {
  if (n) *n = 0;
  if (attribs) *attribs = nullptr;
  return KernelRun("BQ_ENTITY_ask_attribs", [&]() -> int {
    if (!n || !attribs) return BQ_ERROR_null_arg;
    Located where;
    if (int code = Resolve(entity, &where)) return code;
    if (attdef != 0 && !FindAttdef(attdef)) return BQ_ERROR_bad_tag;
    if (where.kind == Kind::Attdef) return BQ_ERROR_wrong_class;
    std::vector<int> list;
    auto it = where.partition->state.attribsOf.find(entity);
    if (it != where.partition->state.attribsOf.end())
      for (int a : it->second)
        if (attdef == 0 || where.partition->state.attribs.at(a).attdef == attdef) list.push_back(a);
    OutArray(list, n, attribs);
    return 0;
  });
}

int BQ_ENTITY_ask_first_attrib(int entity, int attdef, int* attrib) {
  return KernelRun("BQ_ENTITY_ask_first_attrib", [&]() -> int {
    if (!attrib) return BQ_ERROR_null_arg;
    Located where;
    if (int code = Resolve(entity, &where)) return code;
    if (!FindAttdef(attdef)) return BQ_ERROR_bad_tag;
    if (where.kind == Kind::Attdef) return BQ_ERROR_wrong_class;
    *attrib = 0;
    auto it = where.partition->state.attribsOf.find(entity);
    if (it != where.partition->state.attribsOf.end())
      for (int a : it->second)
        if (where.partition->state.attribs.at(a).attdef == attdef) {
          *attrib = a;
          break;
        }
    return 0;
  });
}

int BQ_PART_ask_all_attribs(int part, int attdef, int* n, int** attribs) {
  if (n) *n = 0;
  if (attribs) *attribs = nullptr;
  return KernelRun("BQ_PART_ask_all_attribs", [&]() -> int {
    if (!n || !attribs) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    if (!FindAttdef(attdef)) return BQ_ERROR_bad_tag;
    std::vector<int> list;
    const PartitionState& st = where.partition->state;
    for (int owner : OwnersOfPart(where)) {
      auto it = st.attribsOf.find(owner);
      if (it == st.attribsOf.end()) continue;
      for (int a : it->second)
        if (st.attribs.at(a).attdef == attdef) list.push_back(a);
    }
    OutArray(list, n, attribs);
    return 0;
  });
}

int BQ_PART_delete_attribs(int part, int n_attdefs, const int* attdefs, const BQ_PART_delete_attribs_o_t* options) {
  return KernelRun("BQ_PART_delete_attribs", [&]() -> int {
    if (n_attdefs < 0) return BQ_ERROR_bad_count;
    if (n_attdefs > 0 && !attdefs) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    for (int i = 0; i < n_attdefs; ++i)
      if (!FindAttdef(attdefs[i])) return BQ_ERROR_bad_tag;
    int ownerClass = options ? options->owner_class : 0;
    std::vector<int> doomed;
    const PartitionState& st = where.partition->state;
    for (int owner : OwnersOfPart(where)) {
      auto it = st.attribsOf.find(owner);
      if (it == st.attribsOf.end()) continue;
      if (ownerClass != 0 && !IsSubclass(ClassOf(Locate(owner)), ownerClass)) continue;
      for (int a : it->second)
        for (int i = 0; i < n_attdefs; ++i)
          if (st.attribs.at(a).attdef == attdefs[i]) doomed.push_back(a);
    }
    if (!doomed.empty()) return BQ_ENTITY_delete(static_cast<int>(doomed.size()), doomed.data());
    return 0;
  });
}
