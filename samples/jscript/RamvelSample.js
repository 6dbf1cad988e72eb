// Ramvel from JScript: build a small tree from node lines, walk it by index and by handle,
// read node info, change and delete nodes, and catch an error.
// Run it with the script host of the same bitness as the registered Ramvel.ocx:
//   cscript //nologo RamvelSample.js

var SOH = "\x01"; // separates the three parts of a node info text
var TAB = "\t";   // separates the fields of a node line

// Part n (0, 1 or 2) of a node info text: node index, handle, then the six detail fields.
function nodePart(info, n) { return info.split(SOH)[n]; }
// Detail field n (1 to 6): level, text, images, selected image, state image, host data.
function nodeField(info, n) { return nodePart(info, 2).split(TAB)[n - 1]; }
function handleOf(info) { return parseInt(nodePart(info, 1), 10); }
// A node line: level, text, images field (closed,open), selected image, state image, host data.
function nodeLine(level, text, images, hostData) {
    return [level, text, images, "", "", hostData].join(TAB);
}

var tree = new ActiveXObject("RamvelProj1.Ramvel");

// 1. Build: one node per line, each line placed under the last line one level up.
tree.AddNodes([
    nodeLine(0, "Customers", "0,1", ""),
    nodeLine(1, "Smith", "4", "C042"),
    nodeLine(1, "Jones", "4", "C043"),
    nodeLine(0, "Suppliers", "0,1", ""),
    nodeLine(1, "Acme", "21", "S001")
].join("\n"));
WScript.Echo("nodes: " + tree.ChildrenNumber(0));

// 2. Walk by node index: 0 is the first root, then pre-order (a node, then its children).
for (var i = 0; i < tree.ChildrenNumber(0); i++) {
    var info = tree.GetNode(i);
    WScript.Echo("index " + nodePart(info, 0) + ": " + nodeField(info, 2) +
                 " (level " + nodeField(info, 1) + ", data '" + nodeField(info, 6) + "')");
}

// 3. Walk by handle: a handle stays the same for the node's whole life.
function showSubtree(h, indent) {
    WScript.Echo(indent + nodeField(tree.GethNode(h), 2));
    for (var child = tree.FirstChild(h); child != 0; child = tree.NextSibling(child))
        showSubtree(child, indent + "  ");
}
for (var root = handleOf(tree.GetNode(0)); root != 0; root = tree.NextSibling(root))
    showSubtree(root, "  ");

var hCustomers = handleOf(tree.GetNode(0));
var hSmith = tree.FirstChild(hCustomers);
WScript.Echo("parent of Smith: " + nodeField(tree.getParent(hSmith), 2));
WScript.Echo("children of Customers: " + tree.ChildrenNumber(hCustomers));

// 4. Select: GoToNode selects by index and opens the node's closed ancestors. (JScript cannot
// assign a property that takes an argument, so Expanded is only read here.)
tree.GoToNode(2);
WScript.Echo("Customers expanded: " + tree.Expanded(hCustomers));
WScript.Echo("selected: " + nodeField(tree.GetSelectedNode(), 2));

// 5. Change: ChangeNode rewrites text, images and host data, by node index.
tree.ChangeNode(2, nodeLine(1, "Jones & Co", "4", "C043"));
WScript.Echo("changed: " + nodeField(tree.GetNode(2), 2));

// 6. Add relative to a node. The level equals Smith's, so Brown ends Smith's sibling list.
var reply = tree.AddAfterNode(1, nodeLine(1, "Brown", "4", "C044"));
WScript.Echo("Brown is the last customer: " + (tree.LastChild(hCustomers) == handleOf(reply)));
// Or relative to a stored handle: Globex joins Acme's siblings.
var hAcme = tree.FirstChild(tree.NextSibling(hCustomers));
tree.storeHNode(hAcme);
tree.AddAfterCurrentNode(nodeLine(1, "Globex", "21", "S002"));
WScript.Echo("suppliers: " + tree.ChildrenNumber(tree.NextSibling(hCustomers)));

// 7. Delete by handle or by index; a node goes with its whole subtree.
tree.DeleteHNode(hSmith);
tree.DeleteNode(tree.ChildrenNumber(0) - 1);
WScript.Echo("nodes after deleting Smith and the last node: " + tree.ChildrenNumber(0));

// 8. Errors: a failed call throws; the exception carries the control's message.
try {
    tree.GetNode(99);
} catch (e) {
    WScript.Echo("GetNode(99) failed: " + e.description + " (0x" + (e.number >>> 0).toString(16).toUpperCase() + ")");
}

tree = null;
WScript.Echo("done");
