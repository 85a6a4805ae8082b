// Runs one command through a stock RCON client from npm, as an integrator's bot would.
//
// usage: node rcon_node.js MODULES LIBRARY HOST PORT PASSWORD COMMAND
// LIBRARY is rcon-srcds or rcon-client, found in the folder MODULES. Prints the
// reply; "refused" (exit 5) for a wrong password; "error: ..." (exit 1) else.
'use strict';

const path = require('path');

const [modules, library, host, port, password, command] = process.argv.slice(2);

async function viaSrcds() {
  const Rcon = require(path.join(modules, 'rcon-srcds')).default;
  const server = new Rcon({ host, port: Number(port), timeout: 5000, encoding: 'utf8' });
  try {
    try {
      await server.authenticate(password);
    } catch (error) {
      if (/authenticate/i.test(String(error && error.message))) return null;
      throw error;
    }
    return await server.execute(command);
  } finally {
    await server.disconnect().catch(() => {});
  }
}

async function viaClient() {
  const { Rcon } = require(path.join(modules, 'rcon-client'));
  let rcon;
  try {
    rcon = await Rcon.connect({ host, port: Number(port), password, timeout: 5000 });
  } catch (error) {
    if (/authentication/i.test(String(error && error.message))) return null;
    throw error;
  }
  try {
    return await rcon.send(command);
  } finally {
    await rcon.end().catch(() => {});
  }
}

(library === 'rcon-srcds' ? viaSrcds() : viaClient()).then(
  (reply) => {
    if (reply === null) {
      console.log('refused');
      process.exit(5);
    }
    console.log(reply);
    process.exit(0);
  },
  (error) => {
    console.log(`error: ${error && error.message}`);
    process.exit(1);
  },
);
