#include "payload/positioning_capture.h"

#include "payload/answer_fields.h"

namespace payload {

PositioningCapture ParsePositioningCapture(json::Node object) {
  PositioningCapture c;
  if (!object || !object.IsObject()) return c;
  c.session_date = MemberFieldText(object, "session_date");
  c.source = MemberFieldText(object, "source");
  c.engine = MemberFieldText(object, "engine");
  c.conversion_method = MemberFieldText(object, "conversion_method");
  c.scope = MemberFieldText(object, "scope");
  c.selected_expiration = MemberFieldText(object, "selected_expiration");
  c.source_snapshot_time = MemberFieldText(object, "source_snapshot_time");
  c.regime = MemberFieldText(object, "regime");
  c.ts = TimestampToEpochMs(json::Member(object, "ts"));
  c.conversion_ratio = MemberOptional(object, "conversion_ratio");
  c.call_wall = MemberOptional(object, "call_wall");
  c.put_wall = MemberOptional(object, "put_wall");
  c.gamma_flip = MemberOptional(object, "gamma_flip");
  c.net_gex = MemberOptional(object, "net_gex");
  return c;
}

}  // namespace payload
