// A JScript host: builds and walks a tree through ActiveXObject and reads failures from the
// exception object.
// check, checkEq, thrown and finish come from ScriptChecks.js, which the runner puts first.

var SOH = "\x01", TAB = "\t";
var lines = ["0\tRoot\t0,1", "1\tChild\t2\t3\t4\tdata", "1\tSecond", "0\tOther"];
function expected(index, handle, line) {
    var f = (line + "\t\t\t\t\t").split("\t");
    return index + SOH + handle + SOH + f[0] + TAB + f[1] + TAB + f[2] + TAB + (f[3] || "-1") + TAB +
        (f[4] || "-1") + TAB + f[5];
}

var r = new ActiveXObject("RamvelProj1.Ramvel");
r.AddNodes(lines.join("\n"));
checkEq(r.ChildrenNumber(0), lines.length, "ChildrenNumber(0)");

var handles = [];
for (var i = 0; i < lines.length; i++) {
    var info = r.GetNode(i);
    handles[i] = parseInt(info.split(SOH)[1], 10);
    check(handles[i] > 0, "handle of node " + i);
    checkEq(info, expected(i, handles[i], lines[i]), "GetNode(" + i + ")");
}
checkEq(r.childrennumber(handles[0]), 2, "childrennumber(root)");
checkEq(r.FirstChild(handles[0]), handles[1], "FirstChild(root)");
checkEq(r.LastChild(handles[0]), handles[2], "LastChild(root)");
checkEq(r.NextSibling(handles[1]), handles[2], "NextSibling(first child)");
checkEq(r.NextSibling(handles[0]), handles[3], "NextSibling(root)");
checkEq(r.getParent(handles[2]), r.GetNode(0), "getParent(second child)");
checkEq(r.Expanded(handles[0]), false, "Expanded(root)");
checkEq(r.gotonode(2), r.GetNode(2), "gotonode(2)");
checkEq(r.Expanded(handles[0]), true, "Expanded(root) after selecting its child");
checkEq(r.GetSelectedNode(), r.GetNode(2), "GetSelectedNode");

var e = thrown(function () { r.GetNode(lines.length); });
check(e !== null, "GetNode past the end must throw");
if (e) {
    checkEq(e.number >>> 0, 0x8000FFFF, "GetNode e.number");
    checkEq(e.description, "Index incorrect", "GetNode e.description");
}
e = thrown(function () { r.AddNodes("x\tBad"); });
check(e !== null, "a bad level must throw");
if (e) {
    checkEq(e.number >>> 0, 0x8000FFFF, "bad level e.number");
    checkEq(e.description.substr(0, 29), "'x' n'est pas une valeur enti", "bad level e.description");
}
r.TreeRefresh = true;
check(thrown(function () { return r.Lines; }) !== null, "reading the put-only Lines must throw");

r = null;
finish();
