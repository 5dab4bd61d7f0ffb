// What the page's scripts take from a browser, recorded; and a value as JSON in ASCII (every
// string escape()d), whatever the code page of Script Host's console.
var Written = [], Replaced = [], document = { write: function (html) { Written.push(html); } };
var location = { reload: function () {}, replace: function (to) { Replaced.push(to); } };
function setTimeout() {}

function Json(value) {
  if (typeof value != "object" || !value)
    return typeof value == "string" ? '"' + escape(value) + '"' : String(value);
  var array = value instanceof Array, parts = [];
  for (var key in value)
    parts.push((array ? "" : '"' + key + '":') + Json(value[key]));
  return array ? "[" + parts + "]" : "{" + parts + "}";
}
