#!/usr/bin/env node
// Delivers one paid order over RCON with npm's rcon-client, exactly once.
//
// usage: node deliver.js HOST PORT PASSWORD ORDER_ID LINE
// LINE is a targeted spawn line, e.g.
//   KV.SpawnDinoFor 1002 "Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'" "" 0 150 0 0 0 0 0
//
// Sends "KV.Order ORDER_ID LINE". When the connection drops or the reply does not
// come in time, nobody knows whether the server ran the order, so it asks again
// with the same id: the server runs an order id at most once and answers a repeat
// with what it recorded. Prints the final reply (one JSON line).
//
// Exit status: 0 the player got something (delivered, kept-in-world, partly,
// or an interrupted order a person settled as delivered with KV.OrderSettle);
// 2 nothing was made (the order stays open: retry later, e.g. once the player is
// on this server); 3 a person should look (failed, interrupted); 1 refused or the
// server never answered.
'use strict';

const { Rcon } = require('rcon-client');

const ATTEMPTS = 10;
const PAUSE_MS = 1000;
const GAVE_SOMETHING = new Set(['delivered', 'kept-in-world', 'partly']);
const ASK_A_PERSON = new Set(['failed', 'interrupted']);

// The server's reply, parsed; null when the connection failed or timed out.
async function ask(host, port, password, command) {
  let rcon;
  let open = false;
  try {
    rcon = await Rcon.connect({ host, port, password, timeout: 5000 });
    open = true;
    rcon.on('error', () => {});  // a dropped connection shows as the 'end' below
    const closed = new Promise((resolve) => rcon.once('end', () => { open = false; resolve(null); }));
    const sent = rcon.send(command);
    sent.catch(() => {});  // it may fail after the connection is gone; that is answered below
    const reply = await Promise.race([sent, closed]);
    return reply === null ? null : JSON.parse(reply);
  } catch (error) {
    if (/authentication/i.test(String(error && error.message))) throw error;
    return null;  // a dropped connection, a timeout or a cut reply: the same id again
  } finally {
    if (open) await rcon.end().catch(() => {});
  }
}

async function main() {
  const [host, port, password, orderId, line] = process.argv.slice(2);
  for (let attempt = 1; attempt <= ATTEMPTS; ++attempt) {
    const reply = await ask(host, Number(port), password, `KV.Order ${orderId} ${line}`);
    if (reply === null) {
      console.error(`attempt ${attempt}: no answer; asking again with the same id`);
      await new Promise((resolve) => setTimeout(resolve, PAUSE_MS));
      continue;
    }
    console.log(JSON.stringify(reply));
    const result = reply.outcome && reply.outcome.result;
    const settled = reply.settlement && reply.settlement.decision;
    if (GAVE_SOMETHING.has(result) || settled === 'delivered') return 0;
    if (result === 'nothing') return 2;
    if (ASK_A_PERSON.has(result)) return 3;
    return 1;  // refused: "error" says why (not recorded, so not run)
  }
  console.error(`no answer after ${ATTEMPTS} attempts; order ${orderId} is still open`);
  return 1;
}

main().then(
  (status) => process.exit(status),
  (error) => {
    console.error(`error: ${error && error.message}`);
    process.exit(1);
  },
);
