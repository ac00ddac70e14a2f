// The session's process-wide state, tag lookup and the kernel call frame.
#include "KernelCall.h"

#include <cstring>

namespace brennik {

KernelGlobals& Globals() {
  static KernelGlobals globals;
  return globals;
}

Session* CurrentSession() { return Globals().session.get(); }

Partition* FindPartition(int tag) {
  Session* s = CurrentSession();
  if (!s) return nullptr;
  auto it = s->partitions.find(tag);
  return it == s->partitions.end() ? nullptr : it->second.get();
}

Partition* CurrentPartition() {
  Session* s = CurrentSession();
  return s ? FindPartition(s->current) : nullptr;
}

namespace {

Located Search(Session* s, int tag) {
  Located where;
  where.tag = tag;
  if (s->attdefs.count(tag)) {
    where.kind = Kind::Attdef;
    return where;
  }
  auto pit = s->partitions.find(tag);
  if (pit != s->partitions.end()) {
    where.kind = Kind::Partition;
    where.partition = pit->second.get();
    return where;
  }
  for (auto& entry : s->partitions) {
    Partition* p = entry.second.get();
    const PartitionState& st = p->state;
    where.partition = p;
    auto bit = st.bodies.find(tag);
    if (bit != st.bodies.end()) {
      where.kind = Kind::Body;
      where.body = bit->second.get();
      return where;
    }
    auto oit = st.subOwner.find(tag);
    if (oit != st.subOwner.end()) {
      const BodyRecord* body = st.bodies.at(oit->second).get();
      where.body = body;
      if (body->subs.count(tag)) where.kind = Kind::Sub;
      else if (body->fins.count(tag)) where.kind = Kind::Fin;
      else where.kind = Kind::BodyGeom;
      return where;
    }
    if (st.freeGeoms.count(tag)) { where.kind = Kind::FreeGeom; return where; }
    if (st.attribs.count(tag)) { where.kind = Kind::Attrib; return where; }
    if (st.groups.count(tag)) { where.kind = Kind::Group; return where; }
    if (st.transfs.count(tag)) { where.kind = Kind::Transf; return where; }
    if (p->marks.count(tag)) { where.kind = Kind::PMark; return where; }
    if (p->appItems.count(tag)) { where.kind = Kind::AppItem; return where; }
  }
  where.partition = nullptr;
  return where;
}

}  // namespace

Located Locate(int tag) {
  Located where;
  where.tag = tag;
  Session* s = CurrentSession();
  if (!s || tag <= 0) return where;
  if (s->tagIndex.Find(tag, &where)) return where;
  where = Search(s, tag);
  if (where.kind == Kind::Sub) {
    where.sub = &where.body->subs.at(tag);
    where.cls = where.sub->cls;
  } else if (where.kind == Kind::BodyGeom) {
    where.geom = &where.body->geoms.at(tag).data;
  } else if (where.kind == Kind::FreeGeom) {
    where.geom = &where.partition->state.freeGeoms.at(tag).data;
  }
  if (where.geom) where.cls = where.geom->cls;
  if (where.kind != Kind::None && where.cls == 0) where.cls = ClassOf(where);
  s->tagIndex.Keep(where);
  return where;
}

int ClassOf(const Located& where) {
  if (where.cls != 0) return where.cls;
  switch (where.kind) {
    case Kind::None: return BQ_CLASS_null;
    case Kind::Partition: return BQ_CLASS_partition;
    case Kind::PMark: return BQ_CLASS_pmark;
    case Kind::AppItem: return BQ_CLASS_appitem;
    case Kind::Attdef: return BQ_CLASS_attdef;
    case Kind::Body: return BQ_CLASS_body;
    case Kind::Sub: return where.body->subs.at(where.tag).cls;
    case Kind::Fin: return BQ_CLASS_fin;
    case Kind::BodyGeom: return where.body->geoms.at(where.tag).data.cls;
    case Kind::FreeGeom: return where.partition->state.freeGeoms.at(where.tag).data.cls;
    case Kind::Transf: return BQ_CLASS_transf;
    case Kind::Group: return BQ_CLASS_group;
    case Kind::Attrib: return BQ_CLASS_attrib;
  }
  return BQ_CLASS_null;
}

const BodyRecord* BodyOf(int tag) {
  Located where = Locate(tag);
  if (where.kind == Kind::Body || where.kind == Kind::Sub) return where.body;
  return nullptr;
}

const char* TokenOfError(int code) {
  static const std::pair<int, const char*> table[] = {
      {BQ_ERROR_no_errors, "BQ_ERROR_no_errors"},
      {BQ_ERROR_bad_tag, "BQ_ERROR_bad_tag"},
      {BQ_ERROR_null_arg, "BQ_ERROR_null_arg"},
      {BQ_ERROR_bad_value, "BQ_ERROR_bad_value"},
      {BQ_ERROR_bad_option_version, "BQ_ERROR_bad_option_version"},
      {BQ_ERROR_wrong_class, "BQ_ERROR_wrong_class"},
      {BQ_ERROR_not_same_partition, "BQ_ERROR_not_same_partition"},
      {BQ_ERROR_bad_count, "BQ_ERROR_bad_count"},
      {BQ_ERROR_not_in_part, "BQ_ERROR_not_in_part"},
      {BQ_ERROR_already_member, "BQ_ERROR_already_member"},
      {BQ_ERROR_not_implemented, "BQ_ERROR_not_implemented"},
      {BQ_ERROR_bad_name, "BQ_ERROR_bad_name"},
      {BQ_ERROR_bad_field, "BQ_ERROR_bad_field"},
      {BQ_ERROR_bad_owner, "BQ_ERROR_bad_owner"},
      {BQ_ERROR_not_at_mark, "BQ_ERROR_not_at_mark"},
      {BQ_ERROR_no_session, "BQ_ERROR_no_session"},
      {BQ_ERROR_fatal, "BQ_ERROR_fatal"},
      {BQ_ERROR_memory_full, "BQ_ERROR_memory_full"},
      {BQ_ERROR_run_time_error, "BQ_ERROR_run_time_error"},
      {BQ_ERROR_corrupt_session, "BQ_ERROR_corrupt_session"},
      {BQ_ERROR_operation_failed, "BQ_ERROR_operation_failed"},
      {BQ_ERROR_geometry_failure, "BQ_ERROR_geometry_failure"},
      {BQ_ERROR_aborted, "BQ_ERROR_aborted"},
      {BQ_ERROR_not_in_kernel, "BQ_ERROR_not_in_kernel"},
      {BQ_ERROR_offset_failed, "BQ_ERROR_offset_failed"},
      {BQ_ERROR_offset_is_copy, "BQ_ERROR_offset_is_copy"},
      {BQ_ERROR_file_failure, "BQ_ERROR_file_failure"},
      {BQ_ERROR_bad_transmit_data, "BQ_ERROR_bad_transmit_data"},
      {BQ_ERROR_section_failed, "BQ_ERROR_section_failed"},
      {BQ_ERROR_blend_failed, "BQ_ERROR_blend_failed"},
      {BQ_ERROR_has_children, "BQ_ERROR_has_children"},
      {BQ_ERROR_mark_deleted, "BQ_ERROR_mark_deleted"},
  };
  for (const auto& entry : table)
    if (entry.first == code) return entry.second;
  return "BQ_ERROR_unknown";
}

namespace {
int Dispatch(const char* function, int code, const char* token, int severity) {
  KernelGlobals& g = Globals();
  g.lastFunction = function ? function : "";
  g.lastToken = token ? token : "";
  g.lastError.function = g.lastFunction.c_str();
  g.lastError.code = code;
  g.lastError.token = g.lastToken.c_str();
  g.lastError.severity = severity;
  if (!g.errorCallbacks.handler_fn) return code;
  BQ_ERROR_report_t report{g.lastFunction.c_str(), code, g.lastToken.c_str(), severity};
  return g.errorCallbacks.handler_fn(&report);
}
}  // namespace

int ReportError(int code, int severity) {
  Dispatch(Globals().function, code, TokenOfError(code), severity);
  return code;
}

CallScope::CallScope(const char* function) : m_previous(Globals().function) {
  KernelGlobals& g = Globals();
  g.function = function;
  ++g.depth;
  if (g.test.logCalls) g.test.callLog.emplace_back(function);
}

CallScope::~CallScope() {
  KernelGlobals& g = Globals();
  g.function = m_previous;
  if (g.depth > 0) --g.depth;
}

int CallScope::Enter(bool needsSession) {
  KernelGlobals& g = Globals();
  TestControl& t = g.test;
  if (t.fatalCode != 0) {
    int code = t.fatalCode;
    t.fatalCode = 0;
    ReportError(code, BQ_ERROR_fatal_severity);
    return code;
  }
  if (t.abortNext) {
    t.abortNext = false;
    if (g.frustrum.fabort) {
      int ifail = 0;
      g.frustrum.fabort(&ifail);
    }
    return ReportError(BQ_ERROR_aborted);
  }
  if (!t.failFunction.empty() && t.failFunction == g.function) {
    t.failFunction.clear();
    return ReportError(t.failCode);
  }
  if (needsSession && !g.session) return ReportError(BQ_ERROR_no_session);
  return 0;
}

int CallScope::Leave(int code) {
  KernelGlobals& g = Globals();
  if (g.abortPending) {
    g.abortPending = false;
    if (g.frustrum.fabort) {
      int ifail = 0;
      g.frustrum.fabort(&ifail);
    }
    return ReportError(BQ_ERROR_aborted);
  }
  return code;
}

int NotImplemented(const char* function) {
  return KernelRun(function, [] { return int(BQ_ERROR_not_implemented); }, false);
}

}  // namespace brennik

using namespace brennik;

void BQ_MEMORY_free(void* pointer) { ::operator delete[](pointer); }

void BQ_MEMORY_block_f(BQ_MEMORY_block_t* block) {
  while (block) {
    BQ_MEMORY_block_t* next = block->next;
    delete[] block->bytes;
    delete block;
    block = next;
  }
}

int BQ_SESSION_start(const BQ_SESSION_start_o_t* options) {
  return KernelRun("BQ_SESSION_start", [&]() -> int {
    KernelGlobals& g = Globals();
    if (g.session) return BQ_ERROR_bad_value;
    auto s = std::make_unique<Session>();
    s->rollbackOn = options ? options->rollback_on : true;
    s->checkArguments = options ? options->check_arguments : true;
    auto p = std::make_unique<Partition>();
    p->tag = s->NewTag();
    s->current = p->tag;
    s->partitions[p->tag] = std::move(p);
    g.session = std::move(s);
    if (g.frustrum.fstart) {
      int ifail = 0;
      g.frustrum.fstart(&ifail);
    }
    return 0;
  }, false);
}

int BQ_SESSION_stop() {
  return KernelRun("BQ_SESSION_stop", [&]() -> int {
    KernelGlobals& g = Globals();
    g.session.reset();
    if (g.frustrum.fstop) {
      int ifail = 0;
      g.frustrum.fstop(&ifail);
    }
    return 0;
  });
}

bool BQ_SESSION_is_running() { return CurrentSession() != nullptr; }

int BQ_SESSION_ask_precision(double* precision) {
  return KernelRun("BQ_SESSION_ask_precision", [&]() -> int {
    if (!precision) return BQ_ERROR_null_arg;
    *precision = 1e-8;
    return 0;
  });
}

int BQ_SESSION_is_rollback_on(bool* on) {
  return KernelRun("BQ_SESSION_is_rollback_on", [&]() -> int {
    if (!on) return BQ_ERROR_null_arg;
    *on = CurrentSession()->rollbackOn;
    return 0;
  });
}

int BQ_SESSION_ask_check_arguments(bool* on) {
  return KernelRun("BQ_SESSION_ask_check_arguments", [&]() -> int {
    if (!on) return BQ_ERROR_null_arg;
    *on = CurrentSession()->checkArguments;
    return 0;
  });
}

int BQ_SESSION_set_check_arguments(bool on) {
  return KernelRun("BQ_SESSION_set_check_arguments", [&]() -> int {
    CurrentSession()->checkArguments = on;
    return 0;
  });
}

int BQ_SESSION_ask_function(const char** name) {
  // Answers the function that was running when this enquiry was made (the caller is usually
  // an error callback inside that function), so it does not take the frame itself.
  if (!name) return BQ_ERROR_null_arg;
  *name = Globals().function ? Globals().function : "";
  return 0;
}

int BQ_SESSION_is_in_kernel(bool* in_kernel) {
  if (!in_kernel) return BQ_ERROR_null_arg;
  *in_kernel = Globals().depth > 0;
  return 0;
}

int BQ_SESSION_abort(int mode) {
  KernelGlobals& g = Globals();
  if (mode != BQ_SESSION_abort_normal && mode != BQ_SESSION_abort_hard) return BQ_ERROR_bad_value;
  if (g.depth == 0) return BQ_ERROR_not_in_kernel;
  if (mode == BQ_SESSION_abort_hard || !g.frustrum.fabort) return BQ_ERROR_aborted;
  g.abortPending = true;
  return 0;
}

int BQ_SESSION_tidy() {
  KernelGlobals& g = Globals();
  g.depth = 0;
  g.function = "";
  g.abortPending = false;
  return 0;
}

int BQ_SESSION_ask_frustrum(BQ_SESSION_frustrum_t* frustrum) {
  if (!frustrum) return BQ_ERROR_null_arg;
  *frustrum = Globals().frustrum;
  return 0;
}

int BQ_SESSION_register_frustrum(const BQ_SESSION_frustrum_t* frustrum) {
  if (!frustrum) return BQ_ERROR_null_arg;
  Globals().frustrum = *frustrum;
  return 0;
}

int BQ_SESSION_ask_curr_partition(int* partition) {
  return KernelRun("BQ_SESSION_ask_curr_partition", [&]() -> int {
    if (!partition) return BQ_ERROR_null_arg;
    *partition = CurrentSession()->current;
    return 0;
  });
}

int BQ_SESSION_ask_kernel_version(int* major, int* minor, int* build) {
  if (!major || !minor || !build) return BQ_ERROR_null_arg;
  *major = 1;
  *minor = 0;
  *build = 0;
  return 0;
}

int BQ_BB_ask_status(int board, int* status) {
  return KernelRun("BQ_BB_ask_status", [&]() -> int {
    if (!status) return BQ_ERROR_null_arg;
    if (board != 0) return BQ_ERROR_bad_value;
    *status = Globals().test.bulletinBoard ? BQ_BB_status_on : BQ_BB_status_off;
    return 0;
  }, false);
}

int BQ_ERROR_ask_callbacks(BQ_ERROR_callbacks_t* callbacks) {
  if (!callbacks) return BQ_ERROR_null_arg;
  *callbacks = Globals().errorCallbacks;
  return 0;
}

int BQ_ERROR_register_callbacks(const BQ_ERROR_callbacks_t* callbacks) {
  if (!callbacks) return BQ_ERROR_null_arg;
  Globals().errorCallbacks = *callbacks;
  return 0;
}

int BQ_ERROR_ask_last(BQ_ERROR_report_t* report) {
  if (!report) return BQ_ERROR_null_arg;
  *report = Globals().lastError;
  if (!report->function) report->function = "";
  if (!report->token) report->token = "";
  return 0;
}

int BQ_ERROR_clear_last() {
  KernelGlobals& g = Globals();
  g.lastError = BQ_ERROR_report_t{};
  g.lastFunction.clear();
  g.lastToken.clear();
  return 0;
}

int BQ_ERROR_raise(int code, const char* token, int severity) {
  CallScope scope("BQ_ERROR_raise");
  return Dispatch("BQ_ERROR_raise", code, token ? token : TokenOfError(code), severity);
}
